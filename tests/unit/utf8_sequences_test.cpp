#include <gtest/gtest.h>

#include "cli/utf8_sequences.h"

// What a console relay may write now of what has come so far: never half a character.
TEST(Utf8Sequences, APieceEndingInsideACharacterKeepsThatCharacterForTheNext) {
    const struct {
        const char* text;
        std::size_t whole;
    } rows[] = {
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
    for (const auto& row : rows) EXPECT_EQ(WholeSequences(row.text), row.whole) << row.text;
}
