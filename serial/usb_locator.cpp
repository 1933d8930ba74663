#include "serial/usb_locator.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "serial/port_list.h"
#include "serial/serial_link.h"
#include "serial/usb_devices.h"

namespace {

constexpr std::size_t kPatternCapacity = 80;
constexpr std::size_t kPatternLength = 30;  // only this many characters of an identifier count
constexpr std::uint32_t kHardwareIdBytes = 1024;
constexpr std::uint32_t kPortNameBytes = 40;

// The low byte of each UTF-16 character, up to the first zero low byte or
// the end of the data.
std::string NarrowUtf16(const std::uint8_t* data, std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes && data[i] != 0; i += 2) text.push_back(static_cast<char>(data[i]));
    return text;
}

bool StartsWithComIgnoringCase(const std::string& name) {
    static const char kCom[] = "COM";
    if (name.size() < 3) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != kCom[i]) return false;
    }
    return true;
}

// A COM name with a number other than 0 that fits the current port name; a
// longer one is skipped rather than cut.
bool UsablePortName(const std::string& name) {
    return StartsWithComIgnoringCase(name) && PortNumberOf(name.c_str()) != 0 &&
           name.size() < static_cast<std::size_t>(kPortNameCapacity);
}

// The device's PortName, or "" when it has none of type REG_SZ.
std::string ReadPortName(RegistryKey key) {
    // One zero character more than the value may fill, so the name always ends.
    std::uint8_t data[kPortNameBytes + 2] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (!RegistryReadValue(key, u"PortName", data, kPortNameBytes, &type, &size)) return std::string();
    if (type != kRegistryString) return std::string();
    return NarrowUtf16(data, size < kPortNameBytes ? size : kPortNameBytes);
}

}  // namespace

bool FindUsbReaderPort(char* portName, const char* vendor1, const char* product1, const char* revision1,
                       const char* vendor2, const char* product2, const char* revision2) {
    char pattern1[kPatternCapacity];
    char pattern2[kPatternCapacity];
    std::snprintf(pattern1, sizeof(pattern1), "USB\\VID_%s&PID_%s&REV_%s", vendor1, product1, revision1);
    std::snprintf(pattern2, sizeof(pattern2), "USB\\Vid_%s&Pid_%s&Rev_%s", vendor2, product2, revision2);
    std::uint8_t hardwareIds[kHardwareIdBytes] = {};

    DeviceSet set = UsbDevicesOpen();
    if (set == nullptr) return false;
    bool found = false;
    DeviceRecord device;
    for (std::uint32_t index = 0; UsbDeviceAt(set, index, &device); ++index) {
        if (!UsbDeviceHardwareIds(set, &device, hardwareIds, kHardwareIdBytes)) continue;
        // A device without a hardware key is skipped: the reader may come after it.
        RegistryKey key = UsbDeviceOpenKey(set, &device);
        if (key == nullptr) continue;
        const std::string port = ReadPortName(key);
        RegistryClose(key);
        if (!UsablePortName(port)) continue;
        const std::string firstId = NarrowUtf16(hardwareIds, kHardwareIdBytes);
        if (std::strncmp(firstId.c_str(), pattern1, kPatternLength) == 0 ||
            std::strncmp(firstId.c_str(), pattern2, kPatternLength) == 0) {
            std::memcpy(portName, port.c_str(), port.size() + 1);
            found = true;  // a later match overwrites: the last one wins
        }
    }
    UsbDevicesClose(set);
    return found;
}

bool FindUsbReaderPort(char* portName) {
    return FindUsbReaderPort(portName, "2E3C", "5750", "0200", "2e3c", "5750", "0200");
}
