#pragma once

#include <string>
#include <vector>

#include "serial/usb_match.h"

// The present USB devices as the system lists them (serial/usb_devices_glue.h):
// those without hardware identifiers are left out; their instance identifiers
// only `withInstances`. False when the system gives no list.
bool ListUsbDevices(std::vector<UsbDeviceRecord>* devices, bool withInstances = false);

// The USB reader's port name, and its instance identifier when `instance` is
// given, by its identifiers; false when no device matches.
bool FindUsbReaderPort(std::string* portName, std::string* instance = nullptr);
