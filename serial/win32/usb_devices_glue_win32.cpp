#include <windows.h>
#include <setupapi.h>

#include <cstring>

#include "serial/usb_devices_glue.h"

static_assert(sizeof(SP_DEVINFO_DATA) <= sizeof(DeviceRecord::storage), "device record");

static SP_DEVINFO_DATA* Record(DeviceRecord* device) { return reinterpret_cast<SP_DEVINFO_DATA*>(device->storage); }

DeviceSet UsbDevicesOpen() {
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    return set == INVALID_HANDLE_VALUE ? nullptr : set;
}

bool UsbDeviceAt(DeviceSet set, std::uint32_t index, DeviceRecord* device) {
    std::memset(device->storage, 0, sizeof(device->storage));
    Record(device)->cbSize = sizeof(SP_DEVINFO_DATA);
    return SetupDiEnumDeviceInfo(set, index, Record(device)) != FALSE;
}

bool UsbDeviceHardwareIds(DeviceSet set, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size) {
    return SetupDiGetDeviceRegistryPropertyW(set, Record(device), SPDRP_HARDWAREID, nullptr, buffer, size, nullptr) !=
           FALSE;
}

bool UsbDeviceInstanceId(DeviceSet set, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size) {
    return SetupDiGetDeviceInstanceIdW(set, Record(device), reinterpret_cast<PWSTR>(buffer), size / sizeof(WCHAR),
                                       nullptr) != FALSE;
}

RegistryKey UsbDeviceOpenKey(DeviceSet set, DeviceRecord* device) {
    HKEY key = SetupDiOpenDevRegKey(set, Record(device), DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    return key == INVALID_HANDLE_VALUE ? nullptr : key;
}

bool RegistryReadValue(RegistryKey key, const char16_t* name, std::uint8_t* data, std::uint32_t dataBytes,
                       std::uint32_t* type, std::uint32_t* dataSize) {
    DWORD valueType = 0;
    DWORD size = dataBytes;
    LONG result = RegQueryValueExW(static_cast<HKEY>(key), reinterpret_cast<const wchar_t*>(name), nullptr, &valueType,
                                   data, &size);
    *type = valueType;
    *dataSize = size;
    return result == ERROR_SUCCESS;
}

void RegistryClose(RegistryKey key) { RegCloseKey(static_cast<HKEY>(key)); }

void UsbDevicesClose(DeviceSet set) { SetupDiDestroyDeviceInfoList(set); }
