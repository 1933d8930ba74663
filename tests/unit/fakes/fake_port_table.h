#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The system's serial port table as the tests arrange it.
struct FakeRegistryValue {
    std::u16string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;  // raw bytes, terminated or not
};

struct FakePortTable {
    bool opens = true;
    std::vector<FakeRegistryValue> values;
    int openKeys = 0;  // opened and not yet closed
};
extern FakePortTable g_fakePortTable;

// A REG_SZ value holding `port` as UTF-16 with its terminating zero.
FakeRegistryValue PortValue(const std::string& port);
