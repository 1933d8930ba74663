#pragma once

#include <string>
#include <vector>

// The order in which ports are listed and tried: by the number after "COM".

constexpr int kMaxListedPorts = 50;
// The window holds a port name in this many characters: "COM" + up to 3 digits + NUL.
constexpr int kPortNameCapacity = 7;

// The number after "COM" in an entry: leading digits of the text from its
// fourth character on, 0 when there are none (or the text is shorter).
int PortNumberOf(const char* entry);

// Negative, zero or positive as a is below, equal to or above b.
int ComparePortNumbers(int a, int b);

// "COM<n>" for the numbers of the first 50 entries, in ascending order.
std::vector<std::string> OrderPortNames(const std::vector<std::string>& entries);
