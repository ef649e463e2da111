#include "recording/key_script.h"

#include <algorithm>
#include <cctype>

#include "platform/message_queue.h"

namespace {

constexpr int64_t NS_PER_SECOND = 1000000000;
constexpr int64_t MAX_SECONDS = 1000000000;

std::string trimmed(const std::string &text) {
    size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

// The KeyCode a key's name stands for, or KeyOther.
int keyNamed(std::string name) {
    for (char &c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (name == "left") return KeyArrowLeft;
    if (name == "right") return KeyArrowRight;
    if (name == "up") return KeyArrowUp;
    if (name == "down") return KeyArrowDown;
    return KeyOther;
}

}  // namespace

bool parseSeconds(const std::string &text, int64_t &nanoseconds) {
    int64_t whole = 0, fraction = 0;
    int wholeDigits = 0, fractionDigits = 0;
    size_t i = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++wholeDigits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > MAX_SECONDS) return false;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++fractionDigits) {
            if (fractionDigits == 9) return false;
            fraction = fraction * 10 + (text[i] - '0');
        }
    }
    if (i != text.size() || wholeDigits + fractionDigits == 0) return false;
    for (int d = fractionDigits; d < 9; ++d) fraction *= 10;
    if (whole == MAX_SECONDS && fraction > 0) return false;
    nanoseconds = whole * NS_PER_SECOND + fraction;
    return true;
}

bool parseKeyScript(const std::string &text, std::vector<ScriptedKey> &keys, std::string &error) {
    keys.clear();
    if (trimmed(text).empty()) return true;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const size_t length = comma == std::string::npos ? std::string::npos : comma - start;
        const std::string item = trimmed(text.substr(start, length));
        const size_t colon = item.find(':');
        ScriptedKey key;
        if (colon == std::string::npos || !parseSeconds(trimmed(item.substr(0, colon)), key.atNs) ||
            (key.key = keyNamed(trimmed(item.substr(colon + 1)))) == KeyOther) {
            error = "\"" + item + "\" is not TIME:KEY (TIME in seconds, KEY one of Left, Right, Up, Down)";
            keys.clear();
            return false;
        }
        keys.push_back(key);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const ScriptedKey &a, const ScriptedKey &b) { return a.atNs < b.atNs; });
    return true;
}
