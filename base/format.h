#pragma once

#include <string>

// printf-style composition of a message text, of any length.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
