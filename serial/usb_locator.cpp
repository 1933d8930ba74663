#include "serial/usb_locator.h"

#include <cstdint>

#include "serial/port_table_glue.h"
#include "serial/usb_devices_glue.h"

namespace {

constexpr std::uint32_t kHardwareIdBytes = 1024;
constexpr std::uint32_t kPortNameBytes = 40;

// The low byte of each UTF-16 character, up to the first zero low byte or
// the end of the data.
std::string NarrowUtf16(const std::uint8_t* data, std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes && data[i] != 0; i += 2) text.push_back(static_cast<char>(data[i]));
    return text;
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

bool ListUsbDevices(std::vector<UsbDeviceRecord>* devices, bool withInstances) {
    DeviceSet set = UsbDevicesOpen();
    if (set == nullptr) return false;
    std::uint8_t hardwareIds[kHardwareIdBytes] = {};
    DeviceRecord device;
    for (std::uint32_t index = 0; UsbDeviceAt(set, index, &device); ++index) {
        if (!UsbDeviceHardwareIds(set, &device, hardwareIds, kHardwareIdBytes)) continue;
        UsbDeviceRecord record;
        record.hardwareId = NarrowUtf16(hardwareIds, kHardwareIdBytes);
        std::uint8_t instance[kHardwareIdBytes] = {};
        if (withInstances && UsbDeviceInstanceId(set, &device, instance, kHardwareIdBytes)) {
            record.instance = NarrowUtf16(instance, kHardwareIdBytes);
        }
        // A device without a hardware key is kept but never matches: the reader may come after it.
        RegistryKey key = UsbDeviceOpenKey(set, &device);
        record.keyOpened = key != nullptr;
        if (key != nullptr) {
            record.portName = ReadPortName(key);
            RegistryClose(key);
        }
        devices->push_back(record);
    }
    UsbDevicesClose(set);
    return true;
}

bool FindUsbReaderPort(std::string* portName, std::string* instance) {
    std::vector<UsbDeviceRecord> devices;
    if (!ListUsbDevices(&devices, instance != nullptr)) return false;
    const int match = MatchUsbReader(devices, kReaderIdentity, kReaderIdentityLower);
    if (match < 0) return false;
    *portName = devices[static_cast<std::size_t>(match)].portName;
    if (instance != nullptr) *instance = devices[static_cast<std::size_t>(match)].instance;
    return true;
}
