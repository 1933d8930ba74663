#include "tests/unit/fakes/fake_port_table.h"

#include <algorithm>
#include <cstring>

#include "serial/port_table_glue.h"

FakePortTable g_fakePortTable;

namespace {
char g_keyToken;
}

FakeRegistryValue PortValue(const std::string& port) {
    FakeRegistryValue value{u"\\Device\\Serial", kRegistryString, {}};
    for (char c : port) {
        value.data.push_back(static_cast<std::uint8_t>(c));
        value.data.push_back(0);
    }
    value.data.push_back(0);
    value.data.push_back(0);
    return value;
}

RegistryKey PortTableOpen() {
    if (!g_fakePortTable.opens) return nullptr;
    g_fakePortTable.openKeys++;
    return &g_keyToken;
}

PortTableInfo PortTableQueryInfo(RegistryKey) {
    PortTableInfo info;
    info.valueCount = static_cast<std::uint32_t>(g_fakePortTable.values.size());
    for (const FakeRegistryValue& value : g_fakePortTable.values) {
        info.longestNameChars = std::max(info.longestNameChars, static_cast<std::uint32_t>(value.name.size()));
        info.longestDataBytes = std::max(info.longestDataBytes, static_cast<std::uint32_t>(value.data.size()));
    }
    return info;
}

// Like the system: fails when a buffer is too small, copies exactly the data.
bool PortTableReadValue(RegistryKey, std::uint32_t index, char16_t* name, std::uint32_t nameChars,
                        std::uint8_t* data, std::uint32_t dataBytes, std::uint32_t* type, std::uint32_t* dataSize) {
    if (index >= g_fakePortTable.values.size()) return false;
    const FakeRegistryValue& value = g_fakePortTable.values[index];
    if (value.name.size() + 1 > nameChars || value.data.size() > dataBytes) return false;
    std::copy(value.name.begin(), value.name.end(), name);
    name[value.name.size()] = u'\0';
    if (!value.data.empty()) std::memcpy(data, value.data.data(), value.data.size());
    *type = value.type;
    *dataSize = static_cast<std::uint32_t>(value.data.size());
    return true;
}

void PortTableClose(RegistryKey) { g_fakePortTable.openKeys--; }
