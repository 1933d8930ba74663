#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The system's table of serial ports, read through serial/port_table_glue.h.

// The UTF-16 port names of the table's string values, in table order;
// *valueCount counts all its values. False when the table cannot be opened.
bool ReadPortTable(std::vector<std::u16string>* names, std::uint32_t* valueCount);

// The low byte of each character, as the system's 8-bit names compare.
std::string NarrowPortName(const std::u16string& wide);

// True when `name` is, exactly, one of the port names of the table.
bool IsPortPresent(const char* name);
