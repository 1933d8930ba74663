#pragma once

#include <cstdint>

// The system's table of serial ports, HKLM\HARDWARE\DEVICEMAP\SERIALCOMM
// (serial/win32/port_table_glue_win32.cpp). Read only.

using RegistryKey = void*;

struct PortTableInfo {
    std::uint32_t valueCount = 0;
    std::uint32_t longestNameChars = 0;
    std::uint32_t longestDataBytes = 0;
};

constexpr std::uint32_t kRegistryString = 1;  // REG_SZ

RegistryKey PortTableOpen();  // nullptr when the table cannot be opened
PortTableInfo PortTableQueryInfo(RegistryKey key);
// One value by index: its UTF-16 name and raw data. False when the call fails.
bool PortTableReadValue(RegistryKey key, std::uint32_t index, char16_t* name, std::uint32_t nameChars,
                        std::uint8_t* data, std::uint32_t dataBytes, std::uint32_t* type, std::uint32_t* dataSize);
void PortTableClose(RegistryKey key);
