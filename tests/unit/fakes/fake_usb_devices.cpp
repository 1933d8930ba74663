#include "tests/unit/fakes/fake_usb_devices.h"

#include <cstring>

#include "serial/usb_devices_glue.h"

FakeUsbDevices g_fakeUsb;

namespace {
char g_setToken;

FakeUsbDevice& DeviceOf(DeviceRecord* device) {
    std::uint32_t index = 0;
    std::memcpy(&index, device->storage, sizeof(index));
    return g_fakeUsb.devices.at(index);
}
}  // namespace

std::vector<std::uint8_t> Utf16Bytes(const std::string& text, bool terminated) {
    std::vector<std::uint8_t> bytes;
    for (char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

FakeUsbDevice UsbDevice(const std::string& id, const std::string& port) {
    FakeUsbDevice device;
    device.hardwareIds = Utf16Bytes(id);
    const std::vector<std::uint8_t> second = Utf16Bytes("USB\\VID_2E3C&PID_5750");
    device.hardwareIds.insert(device.hardwareIds.end(), second.begin(), second.end());
    device.hardwareIds.insert(device.hardwareIds.end(), {0, 0});
    device.portName = Utf16Bytes(port);
    return device;
}

DeviceSet UsbDevicesOpen() {
    if (!g_fakeUsb.setAvailable) return nullptr;
    g_fakeUsb.openSets++;
    return &g_setToken;
}

bool UsbDeviceAt(DeviceSet, std::uint32_t index, DeviceRecord* device) {
    if (index >= g_fakeUsb.devices.size()) return false;
    std::memcpy(device->storage, &index, sizeof(index));
    return true;
}

bool UsbDeviceHardwareIds(DeviceSet, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size) {
    const FakeUsbDevice& fake = DeviceOf(device);
    if (fake.hardwareIds.empty() || fake.hardwareIds.size() > size) return false;
    std::memcpy(buffer, fake.hardwareIds.data(), fake.hardwareIds.size());
    return true;
}

RegistryKey UsbDeviceOpenKey(DeviceSet, DeviceRecord* device) {
    FakeUsbDevice& fake = DeviceOf(device);
    if (!fake.hasKey) return nullptr;
    g_fakeUsb.openKeys++;
    return &fake;
}

bool RegistryReadValue(RegistryKey key, const char16_t* name, std::uint8_t* data, std::uint32_t dataBytes,
                       std::uint32_t* type, std::uint32_t* dataSize) {
    const FakeUsbDevice& fake = *static_cast<FakeUsbDevice*>(key);
    if (std::u16string(name) != u"PortName" || !fake.hasPortName) return false;
    if (fake.portName.size() > dataBytes) return false;  // like the system: ERROR_MORE_DATA
    std::memcpy(data, fake.portName.data(), fake.portName.size());
    *type = fake.portNameType;
    *dataSize = static_cast<std::uint32_t>(fake.portName.size());
    return true;
}

void RegistryClose(RegistryKey) { g_fakeUsb.openKeys--; }

void UsbDevicesClose(DeviceSet) { g_fakeUsb.openSets--; }
