#include "scroller/own_text.h"

#include <cstdint>
#include <cstring>

// ASCII the charset shows as itself besides letters and digits (the plus
// sign is a glyph of its own too, though also the fallback).
static const char CHARSET_PUNCTUATION[] = " *#'-_.:,;@<>!$%/()=?\"+";

static char charsetByte(uint32_t codePoint) {
    if (codePoint >= 'a' && codePoint <= 'z') return char(codePoint);
    if (codePoint >= 'A' && codePoint <= 'Z') return char(codePoint - 'A' + 'a');
    if (codePoint >= '0' && codePoint <= '9') return char(codePoint);
    if (codePoint < 0x80 && codePoint != 0 && std::strchr(CHARSET_PUNCTUATION, int(codePoint))) return char(codePoint);
    switch (codePoint) {
        case 0xC4: case 0xE4: return 'A';                  // Ä ä
        case 0xD6: case 0xF6: return 'O';                  // Ö ö
        case 0xDC: case 0xFC: return 'U';                  // Ü ü
        case 0xDF: case 0x1E9E: return 'S';                // ß ẞ
        default: return ' ';
    }
}

// The code point of the valid UTF-8 sequence at text[at], with its length in
// length; false when the bytes there are no such sequence (overlong forms
// and surrogates included).
static bool decodeUtf8(const std::string &text, size_t at, uint32_t &codePoint, size_t &length) {
    const auto byte = [&](size_t i) { return uint8_t(text[at + i]); };
    const uint8_t lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        length = 1;
        return true;
    }
    uint8_t low = 0x80, high = 0xBF;   // the second byte's range, narrowed for the leads that need it
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return false;
    }
    if (at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = byte(i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return false;
        codePoint = codePoint << 6 | (next & 0x3Fu);
    }
    return true;
}

std::string charsetTextFromUtf8(const std::string &utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        uint32_t codePoint = 0;
        size_t length = 1;
        if (!decodeUtf8(utf8, at, codePoint, length)) {
            text += ' ';
            at += 1;
            continue;
        }
        at += length;
        if (codePoint == '\r' && at < utf8.size() && utf8[at] == '\n') continue;   // CR LF: one break
        text += charsetByte(codePoint);
    }
    return text;
}
