#include <windows.h>

#include "serial/port_table_glue.h"

static_assert(kRegistryString == REG_SZ, "registry type");

RegistryKey PortTableOpen() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM\\", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

PortTableInfo PortTableQueryInfo(RegistryKey key) {
    DWORD values = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(static_cast<HKEY>(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     &longestName, &longestData, nullptr, nullptr);
    return {values, longestName, longestData};
}

bool PortTableReadValue(RegistryKey key, std::uint32_t index, char16_t* name, std::uint32_t nameChars,
                        std::uint8_t* data, std::uint32_t dataBytes, std::uint32_t* type, std::uint32_t* dataSize) {
    DWORD nameLength = nameChars;
    DWORD valueType = 0;
    DWORD size = dataBytes;
    LONG result = RegEnumValueW(static_cast<HKEY>(key), index, reinterpret_cast<wchar_t*>(name), &nameLength, nullptr,
                                &valueType, data, &size);
    *type = valueType;
    *dataSize = size;
    return result == ERROR_SUCCESS;
}

void PortTableClose(RegistryKey key) { RegCloseKey(static_cast<HKEY>(key)); }
