// The Linux port list from a fabricated system tree: ttys with a device (and a UART) behind them, the USB identity
// found above a USB interface, consoles and placeholders left out with why, and nothing taken from outside the tree.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "serial/tty_ports.h"
#include "serial/usb_match.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const char* text) { std::ofstream(path) << text << "\n"; }

TEST(TtyPorts, ListsSerialTtysTheirUsbIdentityAndWhyOnesAreLeftOut) {
    char pattern[] = "/tmp/tty-ports-XXXXXX";
    const fs::path top = mkdtemp(pattern);
    const fs::path sys = top / "sys";
    const fs::path usbDevice = sys / "devices/usb1/1-1";
    fs::create_directories(usbDevice / "1-1:1.0");
    WriteFile(usbDevice / "idVendor", "2e3c");
    WriteFile(usbDevice / "idProduct", "5750");
    WriteFile(usbDevice / "bcdDevice", "0200");
    WriteFile(usbDevice / "serial", "ZK6U0042");
    fs::create_directories(sys / "devices/platform/serial8250");
    // Above the tree: a walk up from ttyS0 that left it would take ttyS0 for a USB device.
    WriteFile(top / "idVendor", "2e3c");
    WriteFile(top / "idProduct", "5750");
    for (const char* name : {"ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS3", "tty0", "console"})
        fs::create_directories(sys / "class/tty" / name);
    fs::create_directory_symlink("../../../devices/usb1/1-1/1-1:1.0", sys / "class/tty/ttyACM0/device");
    // UART type 4 is a 16550A, 0 none behind the tty; ttyS3 has no device link.
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2"})
        fs::create_directory_symlink("../../../devices/platform/serial8250", sys / "class/tty" / name / "device");
    for (const auto& [name, type] : {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}, {"ttyS2", "4"}, {"ttyS3", "4"}})
        WriteFile(sys / "class/tty" / name / "type", type);
    WriteFile(sys / "class/tty/console/active", "tty0");
    fs::create_directories(top / "proc");
    WriteFile(top / "proc/consoles", "ttyS2                -W- (EC p a)    4:66");  // console=ttyS2

    const std::vector<TtyDevice> ttys = ListTtyDevices(top.string());
    fs::remove_all(top);

    ASSERT_EQ(ttys.size(), 5u);  // tty0 is a virtual terminal, console no tty of its own: neither is listed
    const TtySkip skips[] = {TtySkip::kNone, TtySkip::kNone, TtySkip::kNoUart, TtySkip::kConsole, TtySkip::kNoDevice};
    for (std::size_t k = 0; k < ttys.size(); ++k) EXPECT_EQ(ttys[k].skip, skips[k]) << ttys[k].path;
    EXPECT_EQ(ttys[0].path, (top / "dev/ttyACM0").string());
    EXPECT_TRUE(ttys[0].usb);
    EXPECT_TRUE(IsReaderUsbIdentity(ttys[0].vendor, ttys[0].product, ttys[0].revision));
    EXPECT_EQ(ttys[0].serial, "ZK6U0042");
    EXPECT_EQ(ttys[3].path, (top / "dev/ttyS2").string());
    EXPECT_FALSE(ttys[1].usb);
    EXPECT_EQ(ttys[1].serial, "");
}

}  // namespace
