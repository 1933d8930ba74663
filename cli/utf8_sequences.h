#pragma once

#include <cstddef>
#include <string>

// A console is written in UTF-16, converted from the UTF-8 the program prints, and the bytes come in pieces: a
// character cut between two pieces would turn into two replacement marks. This is the length of the text's
// longest beginning that ends with a whole sequence; the rest waits for the next piece.
std::size_t WholeSequences(const std::string& text);
