#pragma once

#include <cstdint>

#include "serial/port_table_glue.h"

// The present USB devices and their registry data (serial/win32/usb_devices_glue_win32.cpp).

using DeviceSet = void*;

// One device of a set; the glue keeps the system's record in `storage`.
struct DeviceRecord {
    alignas(8) unsigned char storage[32];
};

DeviceSet UsbDevicesOpen();                                                  // nullptr when the system gives no set
bool UsbDeviceAt(DeviceSet set, std::uint32_t index, DeviceRecord* device);  // false past the last
// The device's hardware identifiers (a UTF-16 multi-string); false when missing or longer than `size` bytes.
bool UsbDeviceHardwareIds(DeviceSet set, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size);
// The device's instance identifier ("USB\VID_2E3C&PID_5750\<serial>", UTF-16); false when it does not fit.
bool UsbDeviceInstanceId(DeviceSet set, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size);
RegistryKey UsbDeviceOpenKey(DeviceSet set, DeviceRecord* device);  // nullptr when it cannot be opened
// A value of an open key by UTF-16 name; false when the call fails.
bool RegistryReadValue(RegistryKey key, const char16_t* name, std::uint8_t* data, std::uint32_t dataBytes,
                       std::uint32_t* type, std::uint32_t* dataSize);
void RegistryClose(RegistryKey key);
void UsbDevicesClose(DeviceSet set);
