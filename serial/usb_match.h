#pragma once

#include <string>
#include <vector>

// Telling the USB reader among the present USB devices by its identifiers.

// What the system tells of one USB device.
struct UsbDeviceRecord {
    std::string hardwareId;  // its first hardware identifier, one byte per character
    bool keyOpened = true;   // its hardware key could be opened
    std::string portName;    // its PortName string value; "" when it has none
    std::string instance;    // its instance identifier, "" when the system gives none
};

struct UsbIdentity {
    const char* vendor;
    const char* product;
    const char* revision;
};

// The reader's identity, as Windows writes it and in lower case.
constexpr UsbIdentity kReaderIdentity{"2E3C", "5750", "0200"};
constexpr UsbIdentity kReaderIdentityLower{"2e3c", "5750", "0200"};

// The index of the last device whose first identifier starts (in its first 30
// characters) with "USB\VID_v&PID_p&REV_r" of `upper` or "USB\Vid_v&Pid_p&Rev_r"
// of `lower`, whose key opened, and whose PortName is "COM" (any case) with a
// number other than 0 and fits a current port name (6 characters); -1 for none.
int MatchUsbReader(const std::vector<UsbDeviceRecord>& devices, const UsbIdentity& upper, const UsbIdentity& lower);

// True when vendor, product and revision (hex text, any case, as Linux gives
// them) are the reader's.
bool IsReaderUsbIdentity(const std::string& vendor, const std::string& product, const std::string& revision);
