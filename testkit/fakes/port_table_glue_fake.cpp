#include <algorithm>
#include <cstring>

#include "testkit/fakes/fakes.h"

FakeRegistry g_fakeRegistry;

constexpr char16_t kValueName[] = u"\\Device\\Serial0";  // read by the program, never used
constexpr std::uint32_t kValueNameChars = std::size(kValueName) - 1;

RegistryKey PortTableOpen() {
    g_fakeRegistry.openKeys += g_fakeRegistry.portTableOpens ? 1 : 0;
    return g_fakeRegistry.portTableOpens ? &g_fakeRegistry : nullptr;
}

PortTableInfo PortTableQueryInfo(RegistryKey) {
    PortTableInfo info{static_cast<std::uint32_t>(g_fakeRegistry.portTable.size()), kValueNameChars, 0};
    for (const auto& [type, data] : g_fakeRegistry.portTable)
        info.longestDataBytes = std::max(info.longestDataBytes, static_cast<std::uint32_t>(data.size()));
    return info;
}

// Like the system: the call fails when a buffer is too small, and copies the data as it is.
bool PortTableReadValue(RegistryKey, std::uint32_t index, char16_t* name, std::uint32_t nameChars, std::uint8_t* data,
                        std::uint32_t dataBytes, std::uint32_t* type, std::uint32_t* dataSize) {
    const auto& [valueType, value] = g_fakeRegistry.portTable.at(index);
    if (nameChars <= kValueNameChars || value.size() > dataBytes) return false;
    std::memcpy(name, kValueName, sizeof(kValueName));
    std::memcpy(data, value.data(), value.size());
    *type = valueType;
    *dataSize = static_cast<std::uint32_t>(value.size());
    return true;
}

void PortTableClose(RegistryKey) { g_fakeRegistry.openKeys--; }
