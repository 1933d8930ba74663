#include "serial/port_table.h"

#include <algorithm>

#include "serial/port_table_glue.h"

bool ReadPortTable(std::vector<std::u16string>* names, std::uint32_t* valueCount) {
    RegistryKey key = PortTableOpen();
    if (key == nullptr) return false;
    const PortTableInfo info = PortTableQueryInfo(key);
    *valueCount = info.valueCount;

    // Room for the longest name and data (of any byte count) plus a terminator
    // each: registry data need not end in a zero character, so it is terminated here.
    std::vector<char16_t> name(info.longestNameChars + 1u);
    std::vector<char16_t> data(info.longestDataBytes / 2u + 2u);
    for (std::uint32_t index = 0; index < info.valueCount; ++index) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::fill(data.begin(), data.end(), u'\0');
        if (!PortTableReadValue(key, index, name.data(), static_cast<std::uint32_t>(name.size()),
                                reinterpret_cast<std::uint8_t*>(data.data()), info.longestDataBytes, &type, &size))
            continue;
        if (type != kRegistryString) continue;
        data[std::min<std::size_t>(size / 2u, data.size() - 1u)] = u'\0';
        names->push_back(data.data());
    }
    PortTableClose(key);
    return true;
}

std::string NarrowPortName(const std::u16string& wide) {
    std::string narrow;
    for (char16_t c : wide) narrow.push_back(static_cast<char>(c & 0xFF));
    return narrow;
}

bool IsPortPresent(const char* name) {
    std::vector<std::u16string> names;
    std::uint32_t valueCount = 0;
    if (!ReadPortTable(&names, &valueCount)) return false;
    for (const std::u16string& wide : names) {
        if (NarrowPortName(wide) == name) return true;
    }
    return false;
}
