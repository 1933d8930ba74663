#pragma once

#include <cstddef>
#include <string>

// A console is written in UTF-16, converted from the UTF-8 the program prints, and the bytes come in pieces: a
// character cut between two pieces would turn into two replacement marks. This is the length of the text's
// longest beginning that ends with a whole sequence; the rest waits for the next piece.
std::size_t WholeSequences(const std::string& text);

// `text` as it may be shown on a terminal or in a log: control characters (C0, DEL and C1) and bytes that are
// not UTF-8 as \xNN, the rest as it is. Bytes from a profile, a port name or an argument would otherwise set
// the terminal's title or colours, or make the output invalid UTF-8.
std::string Escaped(const std::string& text);
