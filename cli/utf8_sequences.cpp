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
