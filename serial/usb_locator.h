#pragma once

#include <string>
#include <vector>

#include "serial/usb_match.h"

// The present USB devices as the system lists them (serial/usb_devices_glue.h):
// those without hardware identifiers are left out. False when the system gives
// no list.
bool ListUsbDevices(std::vector<UsbDeviceRecord>* devices);

// The USB reader's port name (and its instance identifier), by its
// identifiers; false when no device matches.
bool FindUsbReaderPort(std::string* portName, std::string* instance = nullptr);
