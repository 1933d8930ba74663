#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The present USB devices as the tests arrange them.
struct FakeUsbDevice {
    std::vector<std::uint8_t> hardwareIds;  // UTF-16 multi-string bytes; empty: no such property
    bool hasKey = true;
    bool hasPortName = true;
    std::uint32_t portNameType = 1;  // REG_SZ
    std::vector<std::uint8_t> portName;  // raw value data
};

struct FakeUsbDevices {
    bool setAvailable = true;
    std::vector<FakeUsbDevice> devices;
    int openSets = 0;
    int openKeys = 0;
};
extern FakeUsbDevices g_fakeUsb;

// A device whose first hardware identifier is `id` (a second, shorter one
// follows) and whose PortName is `port`.
FakeUsbDevice UsbDevice(const std::string& id, const std::string& port);
std::vector<std::uint8_t> Utf16Bytes(const std::string& text, bool terminated = true);
