#include "cli/utf8_sequences.h"

std::size_t WholeSequences(const std::string& text) {
    std::size_t start = text.size();
    for (int back = 0; back < 3 && start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80; ++back) {
        --start;
    }
    if (start == 0) return text.size();  // nothing but continuation bytes: no character to wait for
    const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return text.size() - (start - 1) < length ? start - 1 : text.size();
}

namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes at `at`; 0 where there is none (a lone or
// overlong byte, a surrogate, beyond U+10FFFF).
std::size_t SequenceAt(const std::string& text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char byte = static_cast<unsigned char>(text[at + k]);
        if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

}  // namespace

std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = byte < 0x80 ? 1 : SequenceAt(text, at);
        // U+0080 to U+009F are C1 controls: a terminal acts on them as on ESC sequences.
        const bool control = byte < 0x20 || byte == 0x7F ||
                             (byte == 0xC2 && length == 2 && static_cast<unsigned char>(text[at + 1]) < 0xA0);
        if (length == 0 || control) {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0x0F];
            ++at;
            continue;
        }
        shown.append(text, at, length);
        at += length;
    }
    return shown;
}
