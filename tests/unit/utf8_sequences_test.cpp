#include <gtest/gtest.h>

#include "cli/utf8_sequences.h"

// What a console relay may write now of what has come so far: never half a character.
TEST(Utf8Sequences, APieceEndingInsideACharacterKeepsThatCharacterForTheNext) {
    const std::pair<const char*, std::size_t> rows[] = {
        // text, the bytes that may be written
        {"", 0},
        {"COM4: busy", 10},
        {"\xd0\x9f", 2},          // П whole
        {"ok \xd0", 3},           // П's first byte alone
        {"\xe2\x80", 0},          // two of a three-byte sequence
        {"\xe2\x80\x94", 3},      // the whole dash
        {"a\xf0\x9f\x98", 1},     // three of four
        {"\xf0\x9f\x98\x80", 4},  // the whole four
        {"\x80\x80", 2},          // stray continuation bytes wait for nothing
    };
    for (const auto& [text, whole] : rows) EXPECT_EQ(WholeSequences(text), whole) << text;
}

// What would act on a terminal, or is no UTF-8, is shown as \xNN; letters of any script stay as they are.
TEST(Utf8Sequences, ControlsAndBytesThatAreNoUtf8AreShownEscaped) {
    const std::pair<std::string, const char*> rows[] = {
        // text, shown
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"\xd0\x9f\xd0\xbe\xd1\x80\xd1\x82 \xe2\x80\x94 \xf0\x9f\x98\x80",
         "\xd0\x9f\xd0\xbe\xd1\x80\xd1\x82 \xe2\x80\x94 \xf0\x9f\x98\x80"},
        {"inter\x1b]0;PWNED\x07\x1b[31mface", "inter\\x1b]0;PWNED\\x07\\x1b[31mface"},
        {std::string("a\0b\x7f\n", 5), "a\\x00b\\x7f\\x0a"},
        {"\xc2\x9b"
         "31m \xc2\xa0",
         "\\xc2\\x9b31m \xc2\xa0"},  // a C1 control; a no-break space stays
        {"\xff\xfe \xc0\xaf \xed\xa0\x80 \xd0",
         "\\xff\\xfe \\xc0\\xaf \\xed\\xa0\\x80 \\xd0"},  // overlong, surrogate, cut
        {"\xf4\x90\x80\x80 \xf0\x8f\xbf\xbf \xf8\x88\x80\x80",
         "\\xf4\\x90\\x80\\x80 \\xf0\\x8f\\xbf\\xbf \\xf8\\x88\\x80\\x80"},  // beyond U+10FFFF, overlong, no lead
    };
    for (const auto& [text, shown] : rows) EXPECT_EQ(Escaped(text), shown) << shown;
}
