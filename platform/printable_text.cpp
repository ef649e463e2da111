// printableText: a walk over the bytes, decoding UTF-8 to tell characters
// from stray bytes and from the C1 controls a terminal would obey.
#include "platform/printable_text.h"

namespace {

void appendHex(std::string &out, unsigned char byte) {
    static const char DIGITS[] = "0123456789abcdef";
    out += "\\x";
    out += DIGITS[byte >> 4];
    out += DIGITS[byte & 15];
}

// The length of the valid UTF-8 sequence of a printable character (U+00A0 and
// above, no surrogate) at text[at], or 0 when there is none.
size_t printableSequenceAt(std::string_view text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) length = 2, code = lead & 0x1f;
    else if (lead >= 0xe0 && lead <= 0xef) length = 3, code = lead & 0x0f;
    else if (lead >= 0xf0 && lead <= 0xf4) length = 4, code = lead & 0x07;
    else return 0;
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xc0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3f);
    }
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < shortest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) || code < 0xa0) return 0;
    return length;
}

}  // namespace

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            if (const size_t length = printableSequenceAt(text, at)) {
                out.append(text.substr(at, length));
                at += length;
                continue;
            }
            appendHex(out, byte);
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7f) {
            appendHex(out, byte);
        } else {
            out += char(byte);
        }
        ++at;
    }
    return out;
}
