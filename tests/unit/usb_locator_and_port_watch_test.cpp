#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/connection.h"
#include "serial/port_list.h"
#include "serial/port_watch.h"
#include "serial/serial_link.h"
#include "serial/usb_locator.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_port_table.h"
#include "tests/unit/fakes/fake_serial.h"
#include "tests/unit/fakes/fake_usb_devices.h"
#include "tests/unit/fakes/program_fixture.h"
#include "ui/command_ids.h"
#include "ui/progress.h"
#include "ui/tab_pages.h"
#include "ui/window_procedure.h"

namespace {

using Texts = std::vector<std::string>;

const std::string kReaderId = "USB\\VID_2E3C&PID_5750&REV_0200";

std::string Find() {
    char name[kPortNameCapacity] = "keep";
    return FindUsbReaderPort(name) ? std::string(name) : "not found: " + std::string(name);
}

class UsbLocator : public ProgramFixture {};

TEST_F(UsbLocator, MatchesEitherSpellingOfTheIdentityAndItsInterfaceSuffix) {
    g_fakeUsb.devices = {UsbDevice(kReaderId, "COM7")};
    EXPECT_EQ(Find(), "COM7");
    g_fakeUsb.devices = {UsbDevice("USB\\Vid_2e3c&Pid_5750&Rev_0200", "COM12")};
    EXPECT_EQ(Find(), "COM12");
    g_fakeUsb.devices = {UsbDevice(kReaderId + "&MI_00", "COM3")};
    EXPECT_EQ(Find(), "COM3");
    for (const char* other : {"USB\\VID_2E3C&PID_5750&REV_0201", "USB\\VID_2e3c&PID_5750&REV_0200",
                              "USB\\VID_2E3C&PID_5750", "HID\\VID_2E3C&PID_5750&REV_0200"}) {
        g_fakeUsb.devices = {UsbDevice(other, "COM7")};
        EXPECT_EQ(Find(), "not found: keep") << other;
    }
    EXPECT_EQ(g_fakeUsb.openKeys, 0);
    EXPECT_EQ(g_fakeUsb.openSets, 0);
}

TEST_F(UsbLocator, OnlyUsableComNamesCountAndTheLastMatchWins) {
    FakeUsbDevice wrongType = UsbDevice(kReaderId, "COM9");
    wrongType.portNameType = 3;  // REG_BINARY
    FakeUsbDevice noName = UsbDevice(kReaderId, "COM9");
    noName.hasPortName = false;
    g_fakeUsb.devices = {UsbDevice(kReaderId, "COM4"), UsbDevice(kReaderId, "COM0"), UsbDevice(kReaderId, "LPT1"),
                         UsbDevice(kReaderId, "COMX"), wrongType, noName, UsbDevice(kReaderId, "COM1234")};
    EXPECT_EQ(Find(), "COM4");
    g_fakeUsb.devices.push_back(UsbDevice(kReaderId, "com5"));  // kept as written
    EXPECT_EQ(Find(), "com5");
    g_fakeUsb.devices = {UsbDevice(kReaderId, "COM12345")};  // does not fit: skipped, never cut
    EXPECT_EQ(Find(), "not found: keep");
}

TEST_F(UsbLocator, DevicesWithoutIdentifiersOrKeyAreSkippedNotTheEndOfTheWalk) {
    FakeUsbDevice noIds = UsbDevice(kReaderId, "COM2");
    noIds.hardwareIds.clear();
    FakeUsbDevice tooLong = UsbDevice(kReaderId, "COM2");
    tooLong.hardwareIds.resize(2000, 0x41);
    FakeUsbDevice noKey = UsbDevice("USB\\VID_1234&PID_0001&REV_0100", "COM2");
    noKey.hasKey = false;
    g_fakeUsb.devices = {noIds, tooLong, noKey, UsbDevice(kReaderId, "COM8")};
    EXPECT_EQ(Find(), "COM8");
    g_fakeUsb.setAvailable = false;
    EXPECT_EQ(Find(), "not found: keep");
}

TEST_F(UsbLocator, PortNameDataWithoutATerminatorIsReadWithinItsBuffer) {
    FakeUsbDevice device = UsbDevice(kReaderId, "COM6");
    device.portName = Utf16Bytes("COM6", false);
    g_fakeUsb.devices = {device};
    EXPECT_EQ(Find(), "COM6");
    device.portName = Utf16Bytes("COM6666666666666666666", false);  // 44 bytes: more than the value may hold
    g_fakeUsb.devices = {device};
    EXPECT_EQ(Find(), "not found: keep");
}

class PortWatch : public ProgramFixture {
protected:
    void Notify(std::uintptr_t event = 7) { HandleMainWindowMessage({kWmDeviceChange, event, 0, 0}); }
    void Fire() { HandleMainWindowMessage({kWmTimer, 4, 0, 0}); }
    void Connect(const std::string& name) {
        RefreshPortList();
        SelectPortByName(name.c_str(), &g_portList.selectedIndex);
        g_fake.controls[kIdPortList].selection = g_portList.selectedIndex;
        HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});
        FinishOperation();
        g_fake.boxes.clear();
    }
    void Unplug(const std::string& name) {
        auto& values = g_fakePortTable.values;
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (it->data == PortValue(name).data) {
                values.erase(it);
                return;
            }
        }
    }
};

TEST_F(PortWatch, ABurstOfNotificationsArmsOneCheckAndOtherEventsNone) {
    Build(kReaderSerial);
    Notify(0x8000);
    EXPECT_TRUE(g_fake.timers.empty());
    Notify();
    Notify();
    Notify();
    EXPECT_EQ(g_fake.timers.at(4), 2000);
    EXPECT_TRUE(g_portWatch.pending);
    Fire();
    EXPECT_FALSE(g_portWatch.pending);
    EXPECT_EQ(g_fake.timers.count(4), 0u);
}

TEST_F(PortWatch, AnOpenPortThatStillExistsIsReopenedSilently) {
    AddPorts({"COM3"});
    QueueBytes(g_fakeSerial.ports[0], "KRX - OK! >> 1.00TMX1AO");
    Build(kReaderSerial);
    Connect("COM3");
    Notify();
    Fire();
    EXPECT_EQ(g_fake.sleeps, (std::vector<int>{1000}));
    EXPECT_TRUE(g_fake.boxes.empty());
    EXPECT_TRUE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 1);
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
    EXPECT_EQ(g_fake.controls[31].text, "1.00");

    g_fakeSerial.ports[0].openError = 32;  // still listed, but cannot be opened again
    Notify();
    Fire();
    EXPECT_EQ(BoxTexts(), (Texts{"Error opening [COM3]!"}));
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
}

TEST_F(PortWatch, AVanishedPortIsReportedPerModelAndDropped) {
    AddPorts({"COM1", "COM3"});
    QueueBytes(g_fakeSerial.ports[1], "KRX - OK! >> 1.00TMX1AO");
    Build(kReaderSerial);
    Connect("COM3");
    Unplug("COM3");
    Notify();
    Fire();
    EXPECT_EQ(BoxTexts(), (Texts{"The connection is broken.\n\r(COM3 disabled!)"}));
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
    EXPECT_EQ(g_fake.controls[kIdPortList].items, (std::vector<std::string>{"COM1"}));
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");

    ResetFakeSerial();
    g_fake.boxes.clear();
    QueueBytes(AddFakePort("COM7"), "USB - OK! >> 1.00WHDH5EM");
    g_fakePortTable.values.push_back(PortValue("COM7"));
    g_tabs.readerModel = kReaderUsb;
    Connect("COM7");
    Unplug("COM7");
    Notify();
    Fire();
    EXPECT_EQ(BoxTexts(), (Texts{"Connection broken.\n\r(Zentak-6-USB disabled!)"}));
}

TEST_F(PortWatch, WithNothingConnectedANewPortOrTheUsbReaderStartsASearch) {
    Build(kReaderSerial);  // no ports: the placeholder
    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, 0);  // nothing appeared

    AddPorts({"COM5"});
    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, kOpSearch);  // a first real entry after the placeholder
    FinishOperation();
    g_fake.boxes.clear();

    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, 0);  // the same list again
    AddPorts({"COM2"});
    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, kOpSearch);  // more entries than before
    FinishOperation();

    g_tabs.readerModel = kReaderUsb;
    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, 0);
    g_fakeUsb.devices = {UsbDevice(kReaderId, "COM2")};
    Notify();
    Fire();
    EXPECT_EQ(g_progress.running, kOpSearch);
    EXPECT_STREQ(g_serial.portName, "COM2");
}

TEST_F(PortWatch, IsPortPresentComparesWholeNamesExactly) {
    AddPorts({"COM17", "COM3"});
    EXPECT_TRUE(IsPortPresent("COM3"));
    EXPECT_FALSE(IsPortPresent("COM1"));
    EXPECT_FALSE(IsPortPresent("com3"));
    g_fakePortTable.opens = false;
    EXPECT_FALSE(IsPortPresent("COM3"));
}

}  // namespace
