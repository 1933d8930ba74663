#include <gtest/gtest.h>

#include "serial/usb_locator.h"
#include "testkit/fakes/fakes.h"

const std::string kReader = "USB\\VID_2E3C&PID_5750&REV_0200";

TEST(UsbMatch, TheLastDeviceWithTheReadersIdentifierAndAUsablePortWins) {
    const std::pair<std::vector<UsbDeviceRecord>, int> cases[] = {
        {{{kReader, true, "COM7"}}, 0},
        {{{"USB\\Vid_2e3c&Pid_5750&Rev_0200", true, "COM7"}}, 0},
        {{{"USB\\VID_2e3c&PID_5750&REV_0200", true, "COM7"}}, -1},  // neither spelling
        {{{"USB\\VID_2E3C&PID_5750&REV_0201", true, "COM7"}}, -1},
        {{{kReader + "&MI_00", true, "COM7"}}, 0},  // only 30 characters count
        {{{kReader.substr(0, 29), true, "COM7"}}, -1},
        {{{kReader, true, "com5"}}, 0},
        {{{kReader, true, "COM999"}}, 0},
        {{{kReader, true, "COM1000"}}, -1},  // too long for a port name: skipped, not cut
        {{{kReader, true, "COM0"}}, -1},
        {{{kReader, true, "DOM1"}}, -1},
        {{{kReader, true, ""}}, -1},
        {{{kReader, false, "COM7"}}, -1},
        {{{"USB\\VID_1234", false, ""}, {kReader, true, "COM7"}}, 1},  // a keyless device does not end the walk
        {{{kReader, true, "COM7"}, {kReader, true, "COM9"}, {kReader, true, "COM0"}}, 1},
    };
    for (const auto& [devices, match] : cases) {
        EXPECT_EQ(MatchUsbReader(devices, kReaderIdentity, kReaderIdentityLower), match) << devices[0].portName;
    }
}

TEST(UsbLocator, DevicesAreListedFromTheSystemAndEveryKeyAndSetIsClosed) {
    StartFreshProgram();
    g_fakeRegistry.usbDevices = {
        {"", true, Utf16("COM3")},  // no hardware identifiers: left out
        {Utf16("USB\\VID_1234") + Utf16(""), false, ""},
        {Utf16(kReader) + Utf16("USB\\VID_2E3C") + Utf16(""), true, Utf16("COM7"), kRegistryString,
         Utf16("USB\\VID_2E3C&PID_5750\\ZK6U0042")},
        {Utf16(kReader), true, Utf16("COM12345678901234567890").substr(0, 40)},  // 40 bytes, unterminated
        {Utf16(kReader), true, Utf16("COM8"), 7},                                // not a string
        {Utf16(kReader), true, Utf16("COM123456789012345678901")},               // more than 40 bytes
    };
    std::vector<UsbDeviceRecord> devices;
    ASSERT_TRUE(ListUsbDevices(&devices));
    std::vector<std::string> listed;  // identifier, ':' when its key opened ('-' when not), port name
    for (const UsbDeviceRecord& d : devices) listed.push_back(d.hardwareId + (d.keyOpened ? ":" : "-") + d.portName);
    EXPECT_EQ(listed, (std::vector<std::string>{"USB\\VID_1234-", kReader + ":COM7", kReader + ":COM12345678901234567",
                                                kReader + ":", kReader + ":"}));
    EXPECT_EQ(std::make_pair(g_fakeRegistry.openKeys, g_fakeRegistry.openSets), std::make_pair(0, 0));
    std::string port = "COM1";
    std::string instance;
    EXPECT_TRUE(FindUsbReaderPort(&port, &instance));
    EXPECT_EQ(port + " " + instance, "COM7 USB\\VID_2E3C&PID_5750\\ZK6U0042");
    g_fakeRegistry.usbListed = false;
    EXPECT_FALSE(FindUsbReaderPort(&port));
    EXPECT_EQ(port, "COM7");
}
