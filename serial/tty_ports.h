#pragma once

#include <string>
#include <vector>

// Serial ports on Linux, as sysfs ties them to hardware (serial/posix/tty_ports_posix.cpp).

// Why a serial tty is not asked unless it is named: bytes sent to it would reach no reader.
enum class TtySkip {
    kNone,
    kConsole,   // the kernel writes its console there (console=ttyS0)
    kNoUart,    // an 8250 placeholder: the UART type is unknown (what TIOCGSERIAL reports as PORT_UNKNOWN)
    kNoDevice,  // a serial node with no device behind it
};

struct TtyDevice {
    std::string path;                       // "/dev/ttyUSB0"
    bool usb = false;                       // a USB device lies above it
    std::string vendor, product, revision;  // its idVendor, idProduct, bcdDevice, as sysfs writes them
    std::string serial;                     // its serial number, "" when the device gives none
    TtySkip skip = TtySkip::kNone;
};

// The serial ttys under <root>/sys/class/tty, by name, their paths <root>/dev/<name>: those with a
// device behind them, and those to leave out, with why. Virtual terminals and ptys are no serial ports and
// are not listed. The root ("" for the system's own) is a parameter so a test can fabricate the tree.
std::vector<TtyDevice> ListTtyDevices(const std::string& root);
