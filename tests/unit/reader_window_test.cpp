#include <gtest/gtest.h>

#include "app/about_box_glue.h"
#include "app/help_document.h"
#include "app/main_window.h"
#include "protocol/colours.h"
#include "protocol/commands.h"
#include "protocol/control_ids.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_view.h"
#include "serial/port_list.h"
#include "serial/port_view.h"
#include "testkit/fakes/fakes.h"
#include "ui/lamps.h"
#include "ui/progress.h"
#include "ui/window_procedure.h"

// A search, a read and a write as the user starts them: the boxes shown, the controls left enabled or
// checked, the lamps, and the bytes that each port got. Then what no run under Wine can show: the window's
// drawing objects, a failing serial read, and a connection that breaks while a reply is awaited.

namespace {

const std::string kReadSerial = "AT+READS_KRX";
const std::string kUsbReader = "USB\\VID_2E3C&PID_5750&REV_0200";
const std::string kSelectPortHint =
    "If you are sure that the reader is connected to the PC,\nselect a COM port from the list!";
int g_lampRepaintsAtBox = 0;  // while the last box was up

FakePort Port(const std::string& name, const std::string& reply = "") {
    FakePort port{name};
    port.line.assign(reply.begin(), reply.end());
    return port;
}

// The window on the tab of `model`, in English, with these ports in the system's port table; none open.
void StartWithPorts(int model, const std::vector<FakePort>& ports) {
    StartFreshProgram();
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
    g_shell.readerModel = model;
    for (const FakePort& port : ports) g_fakeRegistry.portTable.push_back({kRegistryString, Utf16(port.name)});
    g_fakeSerial.ports = ports;
}

// The user's click, then the wait it starts ticked to its end.
void Click(int id, bool selectionChanged = false) {
    OnMainCommand(id, selectionChanged);
    for (int tick = 0; tick < 200 && RunningOperation() != 0; ++tick) OnMainTimer(RunningOperation());
}

std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts;
    for (const FakeBox& box : g_fakeWindow.boxes) texts.push_back(box.text);
    g_fakeWindow.boxes.clear();
    return texts;
}

bool Enabled(int id) { return g_fakeWindow.controls[id].enabled; }

std::vector<int> Checked() {
    std::vector<int> ids;
    for (const auto& [id, control] : g_fakeWindow.controls) {
        if (control.checked) ids.push_back(id);
    }
    return ids;
}

// A box's message loop: each running operation timer of the main window ticks once in it.
void TickOperationTimers() {
    for (int id : std::set<int>(g_fakeWindow.timers)) {
        if (id != kTimerPortWatch) OnMainTimer(id);
    }
}

// The reader found on COM3 of the tab of `model`, idle; its reply, if any, on the way.
void StartConnected(const std::string& reply = "", int model = kReaderSerial) {
    StartWithPorts(model, {Port("COM3", reply)});
    g_fakeWindow.inEveryBox = TickOperationTimers;
    ASSERT_TRUE(SetCurrentPortName("COM3") && OpenPort("COM3", kBaudRate));
    g_ports.portOpen = true;
}

}  // namespace

TEST(ReaderWindow, ASerialSearchTriesThePortsInNumberOrderQuietlyAndLeavesTheListAsItsOutcomeNeeds) {
    using Boxes = std::vector<std::string>;
    const Boxes notFound = {"Zentak-6KRT_6KRN not found!", kSelectPortHint};
    // The reader's position in the list (none: -1), what the ports COM2, COM3, COM10 and COM1000 answer (the
    // last one's name is too long for a port name: it is never tried), and the boxes before the outcome's.
    const std::tuple<int, std::vector<std::string>, Boxes> cases[] = {
        {1, {"", " - OK! >> 1.00TMX1AO", "", ""}, {}},
        {-1, {" - UNKNOWN CMD!", "junk", "", " - OK! >> 1.00TMX1AO"}, {}},
        // a firmware this program does not know is no reader
        {-1, {"", " - OK! >> 1.01TMX1AO", "", ""}, {"Settings read!", "Firmware version not supported!"}},
    };
    for (const auto& [reader, replies, before] : cases) {
        StartWithPorts(kReaderSerial, {Port("COM10", replies[2]), Port("COM1000", replies[3]), Port("COM2", replies[0]),
                                       Port("COM3", replies[1])});
        g_fakeSerial.onFirstRead = [] {  // while the first port is probed; COM10 goes, yet it is still tried
            EXPECT_FALSE(g_fakeWindow.enabled);
            EXPECT_FALSE(Enabled(kIdPortList));
            g_fakeRegistry.portTable.erase(g_fakeRegistry.portTable.begin());
        };
        Click(kIdSearch);
        const bool found = reader >= 0;
        EXPECT_EQ(g_fakeWindow.portList, (std::vector<std::string>{"COM2", "COM3", "COM1000"}));
        const std::string tried[] = {g_fakeSerial.ports[2].written, g_fakeSerial.ports[3].written,
                                     g_fakeSerial.ports[0].written, g_fakeSerial.ports[1].written};
        for (int position = 0; position < 4; ++position) {
            const bool probed = position < 3 && (!found || position <= reader);
            EXPECT_EQ(tried[position], probed ? kReadSerial : "") << position;
        }
        const Boxes foundBoxes = {"Settings read!", "Zentak-6KRT_6KRN reader found!\n\r->[COM3]"};
        const Boxes& last = found ? foundBoxes : notFound;
        Boxes outcome = before;
        outcome.insert(outcome.end(), last.begin(), last.end());
        EXPECT_EQ(TakeBoxes(), outcome);
        EXPECT_TRUE(g_fakeWindow.enabled);
        EXPECT_EQ(Enabled(kIdPortList), !found);
        EXPECT_EQ(g_ports.portOpen, found);
        EXPECT_EQ(g_fakeWindow.portSelected, found ? reader : 0);
        EXPECT_EQ(g_fakeSerial.ports[2].open, false);  // COM2, probed in vain, is let go
        if (!found) continue;

        // The reader found is the user's: a reply it cannot give is told, and its silence ends the connection.
        g_fakeSerial.ports[3].line.assign({'?'});
        Click(kIdRead);
        EXPECT_EQ(TakeBoxes(), (Boxes{"The answer could not be recognized!",
                                      "The reader did not respond!\n(Try again or a different COM port)."}));
        EXPECT_FALSE(g_ports.portOpen);
        EXPECT_TRUE(Enabled(kIdPortList));
        EXPECT_EQ(g_fakeWindow.controls[kIdVersionField].text, "x.xx");
    }

    StartWithPorts(kReaderSerial, {});
    Click(kIdSearch);
    Click(kIdPortList, true);  // its empty entry picked
    EXPECT_EQ(TakeBoxes(), Boxes(2, "No COM ports found in the system!"));
    EXPECT_EQ(std::make_pair(g_fakeWindow.portList, g_fakeWindow.portSelected), std::make_pair(Boxes{""}, 0));
    EXPECT_TRUE(Enabled(kIdPortList));
}

TEST(ReaderWindow, AUsbSearchTakesThePortOfTheReaderDeviceAndReadsIt) {
    for (bool plugged : {true, false}) {
        StartWithPorts(kReaderUsb, {Port("COM4"), Port("COM9", " - OK! >> 1.00WHDH5EM")});
        if (plugged) g_fakeRegistry.usbDevices = {{Utf16(kUsbReader) + Utf16(""), true, Utf16("COM9")}};
        Click(kIdSearch);
        if (!plugged) {
            EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Zentak-6-USB not found!", kSelectPortHint}));
            EXPECT_EQ(g_fakeSerial.ports[1].written, "");
            continue;
        }
        EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Zentak-6-USB reader found!\n\r->[COM9]", "Settings read!"}));
        EXPECT_EQ(g_fakeSerial.ports[0].written, "");
        EXPECT_EQ(g_fakeSerial.ports[1].written, "AT+READS_USB");
        EXPECT_EQ(g_fakeWindow.portSelected, 1);
        EXPECT_FALSE(Enabled(kIdPortList));
        EXPECT_EQ(Checked(), (std::vector<int>{kIdModeWindows, kIdFormatHexDec, kIdTypeHex, kIdBytes5, kIdCardsAll}));
    }
}

TEST(ReaderWindow, AReadShowsEachSettingOnItsButtonsAndLampsAndTellsOneItCannotRecogniseInItsPlace) {
    // The payload, the box after "Settings read!", the buttons checked in a window where none was, lamps 1 to 4
    // (the USB reader's 2 to 4 stay dark), whether the USB reader's type buttons are enabled, and the lamp
    // repaints while the last box is up: the USB reader's lamp shows before it, the others once it has gone.
    using Lamps = std::vector<std::uint32_t>;
    using Case = std::tuple<int, std::string, std::string, std::vector<int>, Lamps, bool, int>;
    const Case cases[] = {
        Case(kReaderSerial, "1.00W440AF", "", {kIdWiegand44, kIdIndicationInverse, kIdStandbyOff, kIdPollOff},
             {kColourCyan, kColourBlue, kColourMagenta, kColourYellow}, true, 0),
        Case(kReaderSerial, "1.00TMX2DO", "INDICATION CONTROL - NOT RECOGNIZED!",
             {kIdTouchMemory, kIdStandbyDynamic, kIdPollOn}, {kColourRed, 0, kColourRed, kColourRed}, true, 0),
        Case(kReaderUsb, "1.00ATMX3XM", "", {kIdModeAnyOs, kIdFormatTouchMemory, kIdBytes3, kIdCardsMifare},
             {kColourMagenta, 0, 0, 0}, false, 0),
        Case(kReaderUsb, "1.00WHDD4QQ", "CARD FOR READ - NOT RECOGNIZED!",
             {kIdModeWindows, kIdFormatHexDec, kIdTypeDec, kIdBytes4}, {kColourCyan, 0, 0, 0}, true, 1),
    };
    for (const auto& [model, payload, box, checked, lamps, typeUsed, repaintsAtBox] : cases) {
        StartWithPorts(model, {Port("COM3", " - OK! >> " + payload)});
        RefreshPortList();
        g_fakeWindow.inEveryBox = [] { g_lampRepaintsAtBox = g_fakeWindow.lampRepaints; };
        Click(kIdPortList, true);
        EXPECT_EQ(g_fakeSerial.ports[0].written, model == kReaderSerial ? kReadSerial : "AT+READS_USB");
        std::vector<std::string> boxes = {"Settings read!"};
        if (!box.empty()) boxes.push_back(box);
        EXPECT_EQ(TakeBoxes(), boxes) << payload;
        EXPECT_EQ(std::make_pair(g_lampRepaintsAtBox, g_fakeWindow.lampRepaints), std::make_pair(repaintsAtBox, 1));
        EXPECT_EQ(Checked(), checked) << payload;
        EXPECT_EQ(Lamps(g_window.lamp, g_window.lamp + 4), lamps) << payload;
        EXPECT_EQ(Enabled(kIdTypeHex) + Enabled(kIdTypeDec), typeUsed * 2) << payload;
        EXPECT_TRUE(Enabled(kIdBytes5) && Enabled(kIdBytes2)) << payload;
        EXPECT_EQ(g_fakeWindow.controls[kIdVersionField].text, "1.00");
        EXPECT_TRUE(g_ports.portOpen && !Enabled(kIdPortList));
    }
}

TEST(ReaderWindow, AWriteSendsTheCheckedButtonOfEachGroupOrItsFallbackAndAFailedOneLetsThePortGo) {
    // The payload read first, the buttons the user then picks, and the command sent.
    const std::tuple<int, std::string, std::vector<int>, std::string> cases[] = {
        {kReaderSerial, "1.00TMX1DO", {kIdWiegand26, kIdStandbyStatic}, "AT+W261SO"},
        {kReaderSerial, "1.00W440AF", {kIdTouchMemory}, "AT+TMX0AF"},
        {kReaderUsb, "1.00ATMX3XM", {kIdModeWindows, kIdFormatHexDec, kIdTypeDec}, "AT+WHDD3XM"},
        {kReaderUsb, "1.00WHDH5QQ", {kIdBytes2}, "AT+WHDH2EM"},  // no card button checked: all cards
    };
    for (const auto& [model, payload, picked, command] : cases) {
        StartWithPorts(model, {Port("COM3", " - OK! >> " + payload)});
        RefreshPortList();
        Click(kIdPortList, true);
        for (int id : picked) {
            const int group[][2] = {{kIdTouchMemory, kIdWiegand44}, {kIdStandbyDynamic, kIdStandbyOff},
                                    {kIdModeWindows, kIdModeAnyOs}, {kIdFormatHexDec, kIdFormatTouchMemory},
                                    {kIdTypeHex, kIdTypeDec},       {kIdBytes5, kIdBytes2}};
            for (const auto& [first, last] : group) {
                if (id >= first && id <= last) CheckRadio(first, last, id);
            }
        }
        g_fakeSerial.ports[0].written.clear();
        g_fakeSerial.ports[0].line.assign({' ', '-', ' ', 'O', 'K', '!'});
        g_fakeWindow.boxes.clear();
        Click(kIdWrite);
        EXPECT_EQ(g_fakeSerial.ports[0].written, command) << payload;
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Settings recorded!"}) << payload;
        // A write that fails lets the port go.
        g_fakeSerial.ports[0].writeError = 31;
        Click(kIdWrite);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Error [31] when writing to the COM port!"});
        EXPECT_TRUE(!g_ports.portOpen && Enabled(kIdPortList) && g_fakeWindow.enabled);
        // The error box gone, the next search gives the window back.
        g_fakeSerial.ports[0].writeError = 0;
        Click(kIdSearch);
        EXPECT_TRUE(g_fakeWindow.enabled) << payload;
        g_fakeWindow.boxes.clear();
    }
}

TEST(ReaderWindow, APortThatCannotBeOpenedOrWrittenOrIsSilentAndAnUnknownUsbReaderAreLetGoAndTheListRefreshed) {
    using Boxes = std::vector<std::string>;
    const std::string tooLong = "COM" + std::string(kPortNameCapacity, '1');
    const Boxes noResponse = {"The reader did not respond!\n(Try again or a different COM port)."};
    // The port picked as the system has it, what else is wrong, and the boxes.
    const std::tuple<FakePort, std::string, Boxes> cases[] = {
        {Port("COM5"), "", noResponse},
        {Port("COM5", " - UNKNOWN CMD!"), "", {"Invalid command!", noResponse[0]}},
        {Port("COM5", "COM5 - OK"), "", {"The answer could not be recognized!", noResponse[0]}},
        {Port("COM6"), "", {"Error opening [COM5]!"}},  // gone since it was listed
        {Port(tooLong), "", {"Error opening [" + tooLong + "]!"}},
        {Port("COM5"), "write", {"Error [31] when writing to the COM port!"}},
        {Port("COM5", " - OK! >> 1.01WHDH5EM"), "usb", {"Settings read!", "Firmware version not supported!"}},
    };
    for (const auto& [port, failure, boxes] : cases) {
        StartWithPorts(failure == "usb" ? kReaderUsb : kReaderSerial, {port});
        g_fakeRegistry.portTable = {{kRegistryString, Utf16(port.name == "COM6" ? "COM5" : port.name)}};
        RefreshPortList();
        g_fakeSerial.ports[0].writeError = failure == "write" ? 31 : 0;
        g_fakeRegistry.portTable.push_back({kRegistryString, Utf16("COM7")});  // plugged in meanwhile
        Click(kIdPortList, true);
        EXPECT_EQ(TakeBoxes(), boxes) << port.name;
        EXPECT_FALSE(g_ports.portOpen || g_fakeSerial.ports[0].open) << port.name;
        EXPECT_EQ(g_fakeWindow.portList.size(), 2u) << port.name;
        EXPECT_TRUE(Enabled(kIdPortList) && g_fakeWindow.enabled) << port.name;
    }
}

TEST(ReaderWindow, AButtonClickedShowsItsLampAtOnceAndTheFormatDecidesWhetherTheTypeCanBeChosen) {
    StartWithPorts(kReaderSerial, {});
    // The button clicked, then lamps 1 to 4, whether the type buttons are enabled, and the lamp repaints so far.
    using Lamps = std::vector<std::uint32_t>;
    const std::tuple<int, Lamps, bool, int> clicks[] = {
        {kIdWiegand26, {kColourGreen, 0, 0, 0}, true, 1},
        {kIdTouchMemory, {kColourRed, 0, 0, 0}, true, 2},
        {kIdStandbyOff, {kColourRed, 0, kColourMagenta, 0}, true, 3},
        {kIdModeAnyOs, {kColourMagenta, 0, kColourMagenta, 0}, true, 4},
        {kIdFormatTouchMemory, {kColourMagenta, 0, kColourMagenta, 0}, false, 4},
        {kIdBytes3, {kColourMagenta, 0, kColourMagenta, 0}, false, 4},
        {kIdFormatHexDec, {kColourMagenta, 0, kColourMagenta, 0}, true, 4},
    };
    for (const auto& [id, lamps, typeUsed, repaints] : clicks) {
        OnMainCommand(id, false);
        EXPECT_EQ(Lamps(g_window.lamp, g_window.lamp + 4), lamps) << id;
        EXPECT_EQ(Enabled(kIdTypeHex) + Enabled(kIdTypeDec), typeUsed * 2) << id;
        EXPECT_EQ(g_fakeWindow.lampRepaints, repaints) << id;
    }
}

TEST(Window, EveryPenAndBrushOfTheLampPaintIsDeletedOnceAndNeverWhileSelected) {
    StartConnected();
    for (int model : {kReaderSerial, kReaderUsb, kReaderSerial}) {
        g_shell.readerModel = model;
        for (int paint = 0; paint < 20; ++paint) OnMainPaint();
    }
    EXPECT_GT(g_fakeWindow.drawObjects.size(), 100u);
    // Each paint fills the other page's five lamp places with the background, then its own five lamps.
    EXPECT_EQ(std::make_pair(g_fakeWindow.lampsErased, g_fakeWindow.lampsPainted), std::make_pair(300, 300));
    for (const FakeDrawObject& object : g_fakeWindow.drawObjects) {
        EXPECT_EQ(object.deletions, object.system ? 0 : 1);  // a system brush never
        EXPECT_FALSE(object.deletedWhileSelected);
    }
    EXPECT_EQ(std::make_pair(g_fakeWindow.paintsOpen, g_fakeWindow.unpairedPaints), std::make_pair(0, 0));
    EXPECT_EQ(std::make_pair(g_fakeWindow.selectedPen, g_fakeWindow.selectedBrush), std::make_pair(0, 1));
}

TEST(Window, ASerialReadErrorShowsTheSystemErrorBox) {
    // Wine reads a line that has gone as quiet, so only here does a read fail (a write error is seen end to end).
    StartConnected();
    g_fakeSerial.ports[0].line = {'p', kReadFails};
    g_fakeSerial.ports[0].readError = static_cast<std::int32_t>(0x80070005u);
    std::uint8_t buffer[kReplyBufferSize];
    std::int32_t length = 0;
    EXPECT_FALSE(ReadPort(buffer, kReplyBufferSize, &length));
    ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
    const FakeBox& box = g_fakeWindow.boxes[0];
    EXPECT_EQ(box.text + "/" + box.caption, "Error [-2147024891] when reading from a COM port!/Message");
    EXPECT_EQ(std::make_pair(box.style, box.kind), std::make_pair(0x10u, 0u));
    EXPECT_TRUE(g_ports.portOpen);  // what follows is the caller's choice
}

TEST(Window, ABrokenConnectionEndsARunningReplyWait) {
    // The port gone, or back during the driver's pause but failing to open.
    const std::tuple<void (*)(), std::string, int> cases[] = {
        {nullptr, "The connection is broken.\n\r(COM3 disabled!)", kReaderSerial},
        {nullptr, "Connection broken.\n\r(Zentak-6-USB disabled!)", kReaderUsb},
        {[] {
             g_fakeRegistry.portTable.push_back({kRegistryString, Utf16("COM3")});
             g_fakeSerial.ports[0].failingCall = 't';
         },
         "Error opening [COM3]!", kReaderSerial},
    };
    for (const auto& [inPause, box, model] : cases) {
        StartConnected("", model);
        OnMainCommand(kIdRead, false);
        ASSERT_EQ(g_fakeSerial.ports[0].written.substr(0, 8), "AT+READS");
        ASSERT_EQ(g_fakeWindow.timers, std::set<int>{kOpRead});
        OnMainTimer(kOpRead);  // the first of the wait's two ticks
        OnMainDevicesChanged();
        g_fakeRegistry.portTable.clear();
        g_fakeInstance.inPause = inPause;
        OnMainTimer(kTimerPortWatch);        // its box lets the running timers tick (see the fake)
        EXPECT_EQ(g_fakeInstance.polls, 1);  // the driver's time to let the port go, before it is looked for
        for (int tick = 0; tick < 2; ++tick) OnMainTimer(kOpRead);  // ticks already queued
        ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
        EXPECT_EQ(std::make_pair(g_fakeWindow.boxes[0].text, g_fakeWindow.boxes[0].kind), std::make_pair(box, 5u));
        EXPECT_TRUE(g_fakeWindow.timers.empty() && g_fakeWindow.enabled && !g_ports.portOpen);
        // No read after the port went, no progress window left, no close of a handle not open.
        EXPECT_EQ(std::make_tuple(g_fakeSerial.reads, g_fakeWindow.progressWindows, g_fakeSerial.badCloses),
                  std::make_tuple(0, 0, 0));
    }
}

TEST(Window, AReplyOutlivesADeviceChangeButNotAReaderUnpluggedWhileItIsShown) {
    StartConnected(" - OK! >> 1.00W441SF");
    OnMainCommand(kIdRead, false);
    OnMainTimer(kOpRead);
    EXPECT_EQ(std::make_pair(g_fakeWindow.progressPosition, g_fakeWindow.progressRange), std::make_pair(1, 2));
    OnMainDevicesChanged();
    OnMainTimer(kTimerPortWatch);  // the port is still there: the reply on its way is not dropped
    EXPECT_EQ(g_fakeSerial.ports[0].calls.find('c'), std::string::npos);
    EXPECT_EQ(g_fakeWindow.timers, (std::set<int>{kOpRead, kTimerPortWatch}));
    g_fakeWindow.inNextBox = [] {
        g_fakeRegistry.portTable.clear();
        OnMainTimer(kTimerPortWatch);
    };
    OnMainTimer(kOpRead);
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"Settings read!", "The connection is broken.\n\r(COM3 disabled!)"}));
    // Disconnected, and the settings of a reader that has gone are not shown.
    EXPECT_FALSE(g_ports.portOpen || g_connection.settingsValid);
}

TEST(Window, WithNoReaderConnectedAPortMoreOrTheFirstOneOrTheUsbReadersDeviceStartsASearch) {
    using Names = std::vector<std::string>;
    // The tab, the ports listed before and after (the USB reader's device on COM9 when asked), and the search.
    const std::tuple<int, Names, Names, bool, bool> cases[] = {
        {kReaderSerial, {"COM3"}, {"COM3", "COM4"}, false, true},
        {kReaderSerial, {"COM3", "COM4"}, {"COM3"}, false, false},
        {kReaderSerial, {"COM3"}, {"COM4"}, false, false},  // one port for another
        {kReaderSerial, {}, {"COM5"}, false, true},
        {kReaderUsb, {"COM3"}, {"COM3", "COM9"}, true, true},
        {kReaderUsb, {"COM3"}, {"COM3", "COM9"}, false, false},
    };
    for (const auto& [model, before, after, device, search] : cases) {
        StartWithPorts(model, {});
        for (const std::string& name : before) g_fakeRegistry.portTable.push_back({kRegistryString, Utf16(name)});
        RefreshPortList();
        g_fakeRegistry.portTable.clear();
        for (const std::string& name : after) g_fakeRegistry.portTable.push_back({kRegistryString, Utf16(name)});
        if (device) g_fakeRegistry.usbDevices = {{Utf16(kUsbReader) + Utf16(""), true, Utf16("COM9")}};
        OnMainDevicesChanged();
        OnMainDevicesChanged();  // notices in a burst: the check waits from the first
        EXPECT_EQ(g_fakeWindow.timerRestarts, 0);
        OnMainTimer(kTimerPortWatch);
        EXPECT_EQ(g_fakeWindow.portList, after) << after.size();
        EXPECT_EQ(g_fakeWindow.timers, search ? std::set<int>{kOpSearch} : std::set<int>{}) << after.size();
    }
}

TEST(Window, TheAboutBoxClosesOnOkOrCancelOnlyAndAnOperationEndingUnderItLeavesItTheWindow) {
    const std::pair<int, int> rows[] = {{kIdOk, kIdOk}, {kIdCancel, kIdCancel}, {3, 0}, {0, 0}};  // id, its result
    for (const auto& [id, result] : rows) EXPECT_EQ(AboutDialogEndResult(id), result) << id;

    // A reader plugged in while the About box is open: the search runs in the box's message loop.
    StartWithPorts(kReaderSerial, {Port("COM3", " - OK! >> 1.00TMX1AO")});
    g_shell.boxesUp = 1;
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    for (int tick = 0; tick < 100; ++tick) OnMainTimer(kOpSearch);
    ASSERT_EQ(g_fakeWindow.boxes.size(), 2u);  // "Settings read!", then found
    EXPECT_FALSE(g_fakeWindow.enabled);
    EXPECT_EQ(RunningOperation(), 0);
}

TEST(Window, LayoutFiguresScaleAsTheSystemRoundsAndTheControlsFontIsCyrillicAndDeletedWhenReplaced) {
    // value, dpi, scaled: halves round away from zero, as MulDiv does.
    const int rows[][3] = {{395, 96, 395},  {395, 144, 593}, {670, 144, 1005}, {2, 120, 3}, {5, 120, 6},
                           {148, 120, 185}, {291, 192, 582}, {-3, 144, -5},    {0, 144, 0}, {1, 72, 1}};
    for (const auto& row : rows) EXPECT_EQ(ScaleToDpi(row[0], row[1]), row[2]) << row[0] << " at " << row[1];

    // A Russian Windows keeps the system font at its own scale; a Western one (charset 0) never does.
    for (int charset : {kCyrillicCharset, 0}) {
        StartConnected();
        g_window.scale.systemCharset = charset;
        FitControlFont();  // as the start does
        for (int dpi : {96, 144, 192, 96, 120}) {
            if (dpi != g_window.scale.dpi) ChangeDisplayScale(dpi, {0, 0, 100, 100});
            const bool own = dpi != 96 || charset != kCyrillicCharset;
            EXPECT_EQ(g_fakeWindow.fontsAlive, own ? 1 : 0) << dpi << " " << charset;
            EXPECT_EQ(g_fakeWindow.controlFont != nullptr, own) << dpi << " " << charset;
            EXPECT_TRUE(!own || g_fakeWindow.lastFont == std::vector<int>({96, dpi, kCyrillicCharset})) << dpi;
        }
        EXPECT_EQ(g_fakeWindow.controlMoves, 4 * kControlCount);  // each control placed anew at each scale
        OnMainDevicesChanged();
        OnMainDestroy();
        EXPECT_EQ(g_fakeWindow.fontsAlive + g_fakeWindow.fontsDeletedInUse, 0);
        EXPECT_EQ(g_fakeWindow.controlFont, nullptr);
        EXPECT_TRUE(g_fakeWindow.timers.empty() && !g_fakeSerial.ports[0].open);
        EXPECT_EQ(g_fakeWindow.made.substr(g_fakeWindow.made.rfind(',')), ", quit");
    }
    // Started on a display whose scale changed since log-on, or on a Western Windows: the window and the font
    // made for them at once.
    const std::pair<int, int> starts[] = {{96, kCyrillicCharset}, {96, 0}, {144, kCyrillicCharset}};
    for (const auto& [dpi, charset] : starts) {
        StartFreshProgram();
        g_fakeWindow.dpi = dpi, g_fakeWindow.systemCharset = charset;
        RunProgram();
        const char* scaled = dpi == 96 ? " 395x670 shown" : " 395x670 moved to 664,38 593x1005 shown";
        EXPECT_NE(g_fakeWindow.made.find(scaled), std::string::npos) << dpi;
        EXPECT_EQ(g_fakeWindow.lastFont,
                  (dpi != 96 || charset != kCyrillicCharset ? std::vector<int>{96, dpi, 204} : std::vector<int>{}));
    }
}

TEST(Window, HelpMissingFromTheWorkingFolderIsLookedForBesideTheProgramAndEachFailureHasItsAdvice) {
    // What opening it beside the program gives (33: it opens), the first box and how many there are.
    const std::tuple<std::intptr_t, std::string, std::size_t> cases[] = {
        {33, "", 0},
        {3, "File not found!\n\rCheck for the presence of the help file (MivorZentak-6 ver_1_01.pdf).", 2},
        {31, "Help file cannot be opened!", 2},  // then: install a viewer
        {32, "Opening the help file failed!\n\r[Error code: 32]", 1},
    };
    for (const auto& [result, first, count] : cases) {
        StartConnected();
        g_fakeWindow.helpBesideProgram = result;
        OpenHelpDocument();
        EXPECT_EQ(g_fakeWindow.opened, (std::vector<std::u16string>{u"help\\MivorZentak-6 ver_1_01.pdf",
                                                                    u"C:\\Program\\help\\MivorZentak-6 ver_1_01.pdf"}));
        const std::vector<std::string> boxes = TakeBoxes();
        EXPECT_EQ(std::make_pair(boxes.empty() ? "" : boxes[0], boxes.size()), std::make_pair(first, count));
    }
}

TEST(Window, TheMenusSpeakTheLanguagePickedAndNoneIsLeftBehind) {
    const auto bar = [](const TextSlots& text, bool russian) {
        return std::string(text.MenuFile) + "[" + text.MenuQuit + "]|" + text.MenuTools + "[" + text.MenuLanguage +
               "[" + (russian ? "*" : "") + kRussianLanguageItem + "|" + (russian ? "" : "*") + kEnglishLanguageItem +
               "]]|" + text.MenuHelp + "[" + text.MenuHelpItem + "|-|" + text.MenuAbout + "]";
    };
    StartFreshProgram();
    RunProgram();                    // no settings file: in Russian
    OnMainCommand(kIdAbout, false);  // its template picked at each opening
    EXPECT_EQ(std::make_pair(g_fakeWindow.menuBar, g_fakeWindow.aboutTemplate),
              std::make_pair(bar(kRussianTexts, true), kAboutTemplateRussian));
    OnMainCommand(kIdEnglish, false);
    OnMainCommand(kIdAbout, false);
    EXPECT_EQ(std::make_pair(g_fakeWindow.menuBar, g_fakeWindow.aboutTemplate),
              std::make_pair(bar(kEnglishTexts, false), kAboutTemplateEnglish));
    OnMainRightClick(10, 20);  // the window's own menu, gone once used
    EXPECT_EQ(g_fakeWindow.popupMenu, std::string(kEnglishTexts.MenuQuit) + " at 10,20");
    EXPECT_EQ(g_fakeWindow.menusAlive, 5);  // the bar and its four submenus
}

TEST(Window, ADeviceChangeLeavesAnIdleReaderConnectedThroughItsPortReopenedButATabChangeLetsItGo) {
    StartConnected();
    OnMainDevicesChanged();
    OnMainTimer(kTimerPortWatch);
    EXPECT_EQ(g_fakeSerial.ports[0].calls.substr(0, 4), "tgsc");  // closed, for the driver to renew
    EXPECT_TRUE(g_fakeSerial.ports[0].open && g_ports.portOpen && g_fakeWindow.boxes.empty());
    for (int tab : {-1, int{kReaderUsb}}) {  // -1: no tab selected, nothing changes
        g_fakeWindow.tabSelected = tab;
        OnMainTabChanged();
        EXPECT_EQ(std::make_pair(g_fakeSerial.ports[0].open, g_fakeWindow.timers.size()),
                  std::make_pair(tab < 0, std::size_t(tab >= 0)));  // or the other tab's search
    }
}
