#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/connection.h"
#include "protocol/reader_operations.h"
#include "serial/port_list.h"
#include "serial/serial_link.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_serial.h"
#include "tests/unit/fakes/fake_usb_devices.h"
#include "tests/unit/fakes/program_fixture.h"
#include "ui/command_ids.h"
#include "ui/lamps.h"
#include "ui/progress.h"
#include "ui/tab_pages.h"
#include "ui/window_procedure.h"

namespace {

using Texts = std::vector<std::string>;
using Kinds = std::vector<unsigned>;

const std::string kSerialReply = "KRX - OK! >> 1.00W440AF";
const std::string kNoResponse = "The reader did not respond!\n(Try again or a different COM port).";
const std::string kHint = "If you are sure that the reader is connected to the PC,\nselect a COM port from the list!";

FakeSerialPort& Port(const std::string& name) {
    for (FakeSerialPort& port : g_fakeSerial.ports)
        if (port.name == name) return port;
    return g_fakeSerial.ports.at(99);
}

void Command(int id) { HandleMainWindowMessage({kWmCommand, static_cast<MessageWParam>(id), 0, 0}); }

class ReaderOperations : public ProgramFixture {};

TEST_F(ReaderOperations, TheSearchSkipsSilentAndRejectingPortsAndSettlesOnTheAnsweringOne) {
    AddPorts({"COM4", "COM2", "COM9", "COM3"});
    Build(kReaderSerial);
    QueueBytes(Port("COM3"), " - UNKNOWN CMD!");
    QueueBytes(Port("COM4"), kSerialReply);
    Port("COM9").openError = 5;  // held by another program

    Command(kIdSearch);
    EXPECT_NE(FakeLiveProgressWindow(), nullptr);
    EXPECT_EQ(FakeLiveProgressWindow()->title, "Search for Zentak-6KRT_6KRN reader");
    EXPECT_FALSE(g_fake.mainEnabled);
    FinishOperation();

    EXPECT_EQ(BoxTexts(), (Texts{"Settings read!", "Zentak-6KRT_6KRN reader found!\n\r->[COM4]"}));
    EXPECT_EQ(BoxKinds(), (Kinds{3, 3}));
    EXPECT_EQ(Port("COM2").written, "AT+READS_KRX");  // silent
    EXPECT_EQ(Port("COM3").written, "AT+READS_KRX");
    EXPECT_EQ(Port("COM4").written, "AT+READS_KRX");
    EXPECT_TRUE(Port("COM9").written.empty());
    EXPECT_EQ(g_fake.sleeps, (std::vector<int>{100, 100, 100}));
    EXPECT_TRUE(g_serial.portOpen);
    EXPECT_STREQ(g_serial.portName, "COM4");
    EXPECT_TRUE(g_connection.readerVerified);
    EXPECT_FALSE(g_connection.quietSearch);
    EXPECT_EQ(OpenFakeHandles(), 1);
    EXPECT_EQ(g_fake.controls[kIdPortList].items, (std::vector<std::string>{"COM2", "COM3", "COM4", "COM9"}));
    EXPECT_EQ(g_fake.controls[kIdPortList].selection, 2);
    EXPECT_EQ(g_portList.selectedIndex, 2);
    EXPECT_FALSE(g_fake.controls[kIdPortList].enabled);
    EXPECT_TRUE(g_fake.mainEnabled);
    EXPECT_EQ(g_fake.controls[31].text, "1.00");
    EXPECT_TRUE(g_fake.controls[5].checked);  // W44
    EXPECT_EQ(g_lamps.colour[3], kColourYellow);
    EXPECT_EQ(FakeLiveProgressWindow(), nullptr);
    EXPECT_TRUE(g_fake.timers.empty());
}

TEST_F(ReaderOperations, ASearchThatFindsNothingReportsAndLeavesNoPortOpen) {
    AddPorts({"COM1", "COM2"});
    Build(kReaderSerial);
    QueueBytes(Port("COM1"), "garbage");
    QueueBytes(Port("COM2"), "KRX - OK! >> 1.01TMX1DO");  // unsupported firmware
    Command(kIdRead);  // no port open: READ searches
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{"Settings read!", "Firmware version not supported!", "Zentak-6KRT_6KRN not found!",
                                 kHint}));
    EXPECT_EQ(BoxKinds(), (Kinds{3, 5, 5, 6}));
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    EXPECT_TRUE(g_fake.controls[kIdPortList].enabled);
    EXPECT_TRUE(g_fake.mainEnabled);
}

TEST_F(ReaderOperations, NoPortsAtAllLeaveThePlaceholderAndAWarning) {
    Build(kReaderSerial);
    Command(kIdWrite);  // no port open: WRITE searches too
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{"No COM ports found in the system!"}));
    EXPECT_EQ(BoxKinds(), (Kinds{4}));
    EXPECT_EQ(g_fake.controls[kIdPortList].items, (std::vector<std::string>{""}));
    EXPECT_EQ(g_fake.controls[kIdPortList].selection, 0);

    g_fake.boxes.clear();
    HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});  // picking the placeholder
    EXPECT_EQ(BoxTexts(), (Texts{"No COM ports found in the system!"}));
    EXPECT_EQ(g_fakeSerial.paths.size(), 0u);
}

TEST_F(ReaderOperations, AReadOfAChosenPortReportsEveryReplyClass) {
    AddPorts({"COM3"});
    Build(kReaderSerial);
    auto pick = [] {
        g_fake.controls[kIdPortList].selection = 0;
        HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});
    };
    QueueBytes(Port("COM3"), kSerialReply);
    pick();
    EXPECT_EQ(Port("COM3").written, "AT+READS_KRX");
    EXPECT_EQ(FakeLiveProgressWindow()->title, "Reading Zentak-6KRT_6KRN settings");
    EXPECT_EQ(FakeLiveProgressWindow()->rangeHigh, 2);
    EXPECT_EQ(g_fake.timers.at(2), 500);
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{"Settings read!"}));
    EXPECT_TRUE(g_connection.readerVerified);

    // A bare OK after a write, then a rejection that ends the connection.
    g_fake.boxes.clear();
    QueueBytes(Port("COM3"), " - OK!");
    Command(kIdWrite);
    EXPECT_EQ(Port("COM3").written, "AT+READS_KRXAT+W440AF");
    FinishOperation();
    QueueBytes(Port("COM3"), " - UNKNOWN CMD!");
    Command(kIdRead);
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{"Settings recorded!", "Invalid command!", kNoResponse}));
    EXPECT_EQ(BoxKinds(), (Kinds{3, 5, 7}));
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");
    EXPECT_TRUE(g_fake.controls[kIdPortList].enabled);
}

TEST_F(ReaderOperations, APortThatCannotBeOpenedIsReportedAndTheNextReadSearches) {
    AddPorts({"COM3"});
    Port("COM3").openError = 5;
    Build(kReaderSerial);
    g_fake.controls[kIdPortList].selection = 0;
    HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});
    EXPECT_EQ(BoxTexts(), (Texts{"Error opening [COM3]!"}));
    EXPECT_EQ(BoxKinds(), (Kinds{5}));
    EXPECT_TRUE(g_connection.readerVerified);
    EXPECT_FALSE(g_serial.portOpen);
    Command(kIdRead);
    EXPECT_EQ(g_progress.running, kOpSearch);
}

TEST_F(ReaderOperations, ASilentReaderIsReportedOnlyWhenTheUserChoseThePort) {
    AddPorts({"COM7"});
    g_fakeUsb.devices = {UsbDevice("USB\\VID_2E3C&PID_5750&REV_0200", "COM7")};
    Build(kReaderUsb);
    Command(kIdSearch);
    FinishOperation();  // search, found, read: the reader stays silent
    EXPECT_EQ(BoxTexts(), (Texts{"Zentak-6-USB reader found!\n\r->[COM7]"}));
    EXPECT_EQ(Port("COM7").written, "AT+READS_USB");
    EXPECT_FALSE(g_serial.portOpen);  // closed without the "did not respond" message
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");

    g_fake.boxes.clear();
    g_fake.controls[kIdPortList].selection = 0;
    HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{kNoResponse}));
    EXPECT_EQ(OpenFakeHandles(), 0);
}

TEST_F(ReaderOperations, TheReadAfterAUsbSearchKeepsTheWindowDisabledUntilItEnds) {
    AddPorts({"COM7"});
    g_fakeUsb.devices = {UsbDevice("USB\\Vid_2e3c&Pid_5750&Rev_0200", "COM7")};
    QueueBytes(Port("COM7"), "USB - OK! >> 1.00AHD53XM");  // '5' is not an output type
    Build(kReaderUsb);
    Command(kIdSearch);
    for (int tick = 0; tick < 100; ++tick) HandleMainWindowMessage({kWmTimer, 1, 0, 0});
    EXPECT_EQ(g_progress.running, kOpRead);
    EXPECT_EQ(FakeLiveProgressWindow()->title, "Reading Zentak-6-USB settings");
    EXPECT_FALSE(g_fake.mainEnabled);
    FinishOperation();
    EXPECT_TRUE(g_fake.mainEnabled);
    EXPECT_EQ(BoxTexts(), (Texts{"Zentak-6-USB reader found!\n\r->[COM7]", "Settings read!",
                                 "ID CARD OUTPUT TYPE - NOT RECOGNIZED!"}));
    EXPECT_TRUE(g_serial.portOpen);
    EXPECT_EQ(g_lamps.colour[0], kColourMagenta);
}

TEST_F(ReaderOperations, NoUsbReaderGivesTheNotFoundPair) {
    AddPorts({"COM7"});
    g_fakeUsb.devices = {UsbDevice("USB\\VID_2E3C&PID_5750&REV_0201", "COM7")};
    Build(kReaderUsb);
    Command(kIdSearch);
    FinishOperation();
    EXPECT_EQ(BoxTexts(), (Texts{"Zentak-6-USB not found!", kHint}));
    EXPECT_EQ(BoxKinds(), (Kinds{5, 6}));
    EXPECT_TRUE(g_fake.mainEnabled);
}

TEST_F(ReaderOperations, AFailedWriteOfTheCommandDisconnects) {
    AddPorts({"COM3"});
    Build(kReaderSerial);
    QueueBytes(Port("COM3"), kSerialReply);
    g_fake.controls[kIdPortList].selection = 0;
    HandleMainWindowMessage({kWmCommand, (1u << 16) | kIdPortList, 0, 0});
    FinishOperation();
    g_fake.boxes.clear();
    Port("COM3").writeError = 22;
    Command(kIdWrite);
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].text, "Error [22] when writing to the COM port!");
    EXPECT_EQ(g_progress.running, 0);
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
}

}  // namespace
