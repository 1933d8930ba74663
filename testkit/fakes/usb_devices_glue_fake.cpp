#include <cstring>

#include "serial/usb_devices_glue.h"
#include "testkit/fakes/fakes.h"

static FakeUsbDevice& DeviceOf(const DeviceRecord* record) {
    std::uint32_t index = 0;
    std::memcpy(&index, record->storage, sizeof(index));
    return g_fakeRegistry.usbDevices.at(index);
}

// Like the system: fails when there is no data or it does not fit, copies the data as it is.
static bool CopyData(const std::string& from, std::uint8_t* to, std::uint32_t capacity) {
    if (from.empty() || from.size() > capacity) return false;
    std::memcpy(to, from.data(), from.size());
    return true;
}

DeviceSet UsbDevicesOpen() {
    g_fakeRegistry.openSets += g_fakeRegistry.usbListed ? 1 : 0;
    return g_fakeRegistry.usbListed ? &g_fakeRegistry : nullptr;
}

bool UsbDeviceAt(DeviceSet, std::uint32_t index, DeviceRecord* device) {
    std::memcpy(device->storage, &index, sizeof(index));
    return index < g_fakeRegistry.usbDevices.size();
}

bool UsbDeviceHardwareIds(DeviceSet, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size) {
    return CopyData(DeviceOf(device).hardwareIds, buffer, size);
}

bool UsbDeviceInstanceId(DeviceSet, DeviceRecord* device, std::uint8_t* buffer, std::uint32_t size) {
    return CopyData(DeviceOf(device).instanceId, buffer, size);
}

RegistryKey UsbDeviceOpenKey(DeviceSet, DeviceRecord* device) {
    FakeUsbDevice& fake = DeviceOf(device);
    g_fakeRegistry.openKeys += fake.hasKey ? 1 : 0;
    return fake.hasKey ? &fake : nullptr;
}

bool RegistryReadValue(RegistryKey key, const char16_t* name, std::uint8_t* data, std::uint32_t dataBytes,
                       std::uint32_t* type, std::uint32_t* dataSize) {
    const FakeUsbDevice& fake = *static_cast<const FakeUsbDevice*>(key);
    if (std::u16string(name) != u"PortName" || !CopyData(fake.portName, data, dataBytes)) return false;
    *type = fake.portNameType;
    *dataSize = static_cast<std::uint32_t>(fake.portName.size());
    return true;
}

void RegistryClose(RegistryKey) { g_fakeRegistry.openKeys--; }
void UsbDevicesClose(DeviceSet) { g_fakeRegistry.openSets--; }
