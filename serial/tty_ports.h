#pragma once

#include <string>
#include <vector>

// Serial ports on Linux, as sysfs ties them to hardware (serial/posix/tty_ports_posix.cpp).

struct TtyDevice {
    std::string path;                       // "/dev/ttyUSB0"
    bool usb = false;                       // a USB device lies above it
    std::string vendor, product, revision;  // its idVendor, idProduct, bcdDevice, as sysfs writes them
    std::string serial;                     // its serial number, "" when the device gives none
};

// The ttys under <sysRoot>/class/tty that have a device behind them (not an
// 8250 placeholder without a UART), by name;
// their paths are <devRoot>/<name>. The roots are parameters so a test can
// fabricate the tree.
std::vector<TtyDevice> ListTtyDevices(const std::string& sysRoot, const std::string& devRoot);
