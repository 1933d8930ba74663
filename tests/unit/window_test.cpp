#include <gtest/gtest.h>

#include "app/help_document.h"
#include "protocol/commands.h"
#include "protocol/control_ids.h"
#include "protocol/reader_operations.h"
#include "serial/port_view.h"
#include "tests/unit/fakes/fakes.h"
#include "ui/window_procedure.h"

// What the window does that no run under Wine can show: its drawing objects,
// a failing serial read, and a connection that breaks while a reply is awaited.

// A box's message loop: each running operation timer of the main window ticks once in it.
static void TickOperationTimers() {
    for (int id : std::set<int>(g_fakeWindow.timers)) {
        if (id != kTimerPortWatch) OnMainTimer(id);
    }
}

// The reader found on COM3 of the first tab, idle.
static void StartConnected(int language) {
    StartFreshProgram();
    g_fakeWindow.inEveryBox = TickOperationTimers;
    g_lang.current = language;
    SelectLanguageTexts();
    g_fakeRegistry.portTable = {{kRegistryString, Utf16("COM3")}};
    g_fakeSerial.ports = {FakePort{"COM3"}};
    ASSERT_TRUE(SetCurrentPortName("COM3") && OpenPort("COM3", kBaudRate));
    g_ports.portOpen = true;
}

// A reply on its way: the reader's bytes, one read each.
static void Queue(FakePort* port, const std::string& reply) { port->line.assign(reply.begin(), reply.end()); }

TEST(Window, EveryPenAndBrushOfTheLampPaintIsDeletedOnceAndNeverWhileSelected) {
    StartConnected(kLanguageEnglish);
    for (int model : {kReaderSerial, kReaderUsb, kReaderSerial}) {
        g_shell.readerModel = model;
        for (int paint = 0; paint < 20; ++paint) OnMainPaint();
    }
    EXPECT_GT(g_fakeWindow.drawObjects.size(), 100u);
    for (const FakeDrawObject& object : g_fakeWindow.drawObjects) {
        EXPECT_EQ(object.deletions, object.system ? 0 : 1);  // a system brush never
        EXPECT_FALSE(object.deletedWhileSelected);
    }
    EXPECT_EQ(std::make_pair(g_fakeWindow.paintsOpen, g_fakeWindow.unpairedPaints), std::make_pair(0, 0));
    EXPECT_EQ(std::make_pair(g_fakeWindow.selectedPen, g_fakeWindow.selectedBrush), std::make_pair(0, 1));
}

TEST(Window, ASerialReadErrorShowsTheSystemErrorBoxInTheCurrentLanguage) {
    // Wine reads a line that has gone as quiet, so only here does a read fail (a write error is seen end to end).
    const std::tuple<int, std::int32_t, std::string, std::string> cases[] = {
        {kLanguageEnglish, static_cast<std::int32_t>(0x80070005u), "Error [-2147024891] when reading from a COM port!",
         "Message"},
        {kLanguageRussian, 995,  // Windows-1251: "Ошибка [995] при считывание из COM-порта!", "Сообщение"
         "\xCE\xF8\xE8\xE1\xEA\xE0 [995] \xEF\xF0\xE8 \xF1\xF7\xE8\xF2\xFB\xE2\xE0\xED\xE8\xE5 \xE8\xE7 "
         "COM-\xEF\xEE\xF0\xF2\xE0!",
         "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5"},
    };
    for (const auto& [language, error, text, caption] : cases) {
        StartConnected(language);
        g_fakeSerial.ports[0].line = {'p', kReadFails};
        g_fakeSerial.ports[0].readError = error;
        std::uint8_t buffer[kReplyBufferSize];
        std::int32_t length = 0;
        EXPECT_FALSE(ReadPort(buffer, kReplyBufferSize, &length));
        ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
        const FakeBox& box = g_fakeWindow.boxes[0];
        EXPECT_EQ(std::make_tuple(box.text, box.caption, box.style, box.kind),
                  std::make_tuple(text, caption, 0x10u, 0u));
        EXPECT_TRUE(g_ports.portOpen);  // what follows is the caller's choice
    }
}

TEST(Window, ABrokenConnectionEndsARunningReplyWait) {
    StartConnected(kLanguageEnglish);
    OnMainCommand(kIdRead, false);
    ASSERT_EQ(g_fakeSerial.ports[0].written, "AT+READS_KRX");
    ASSERT_EQ(g_fakeWindow.timers, std::set<int>{kOpRead});
    OnMainTimer(kOpRead);  // the first of the wait's two ticks
    OnMainDevicesChanged();
    g_fakeRegistry.portTable.clear();
    OnMainTimer(kTimerPortWatch);  // its box lets the running timers tick (see the fake)
    OnMainTimer(kOpRead);          // a tick already queued
    ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
    EXPECT_EQ(std::make_pair(g_fakeWindow.boxes[0].text, g_fakeWindow.boxes[0].kind),
              std::make_pair(std::string("The connection is broken.\n\r(COM3 disabled!)"), 5u));
    EXPECT_EQ(g_fakeSerial.reads, 0);
    EXPECT_TRUE(g_fakeWindow.timers.empty());
    EXPECT_EQ(g_fakeWindow.progressWindows, 0);
    EXPECT_TRUE(g_fakeWindow.enabled);
    EXPECT_FALSE(g_ports.portOpen);
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
}

TEST(Window, AReplyOutlivesADeviceChangeButNotAReaderUnpluggedWhileItIsShown) {
    StartConnected(kLanguageEnglish);
    Queue(&g_fakeSerial.ports[0], " - OK! >> 1.00W441SF");
    OnMainCommand(kIdRead, false);
    OnMainTimer(kOpRead);
    OnMainDevicesChanged();
    OnMainTimer(kTimerPortWatch);  // the port is still there: the reply on its way is not dropped
    EXPECT_EQ(g_fakeSerial.ports[0].calls.find('c'), std::string::npos);
    EXPECT_EQ(g_fakeWindow.timers, (std::set<int>{kOpRead, kTimerPortWatch}));
    g_fakeWindow.inNextBox = [] {
        g_fakeRegistry.portTable.clear();
        OnMainTimer(kTimerPortWatch);
    };
    OnMainTimer(kOpRead);
    ASSERT_EQ(g_fakeWindow.boxes.size(), 2u);
    EXPECT_EQ(g_fakeWindow.boxes[0].text, "Settings read!");
    EXPECT_EQ(g_fakeWindow.boxes[1].text, "The connection is broken.\n\r(COM3 disabled!)");
    EXPECT_FALSE(g_connection.settingsValid);  // the settings of a reader that has gone are not shown
    EXPECT_FALSE(g_ports.portOpen);
}

TEST(Window, ASearchTriesEveryPortListedWhenItBeganThoughOneGoesMeanwhile) {
    StartConnected(kLanguageEnglish);
    Disconnect();
    g_fakeRegistry.portTable = {
        {kRegistryString, Utf16("COM2")}, {kRegistryString, Utf16("COM3")}, {kRegistryString, Utf16("COM4")}};
    g_fakeSerial.ports = {FakePort{"COM2"}, FakePort{"COM3"}, FakePort{"COM4"}};
    Queue(&g_fakeSerial.ports[1], " - OK! >> 1.00TMX1AO");
    g_fakeSerial.onFirstRead = [] { g_fakeRegistry.portTable.erase(g_fakeRegistry.portTable.begin()); };
    RunSearch();
    ASSERT_EQ(g_fakeWindow.boxes.size(), 2u);
    EXPECT_EQ(g_fakeWindow.boxes[1].text, "Zentak-6KRT_6KRN reader found!\n\r->[COM3]");
}

TEST(Window, AnOperationEndingUnderABoxLeavesTheWindowToTheBox) {
    // A reader plugged in while the About box is open: the search runs in the box's message loop.
    StartConnected(kLanguageEnglish);
    Disconnect();
    Queue(&g_fakeSerial.ports[0], " - OK! >> 1.00TMX1AO");
    g_shell.boxesUp = 1;
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    for (int tick = 0; tick < 100; ++tick) OnMainTimer(kOpSearch);
    ASSERT_EQ(g_fakeWindow.boxes.size(), 2u);  // "Settings read!", then found
    EXPECT_FALSE(g_fakeWindow.enabled);
}

TEST(Window, LayoutFiguresScaleAsTheSystemRoundsAndTheControlsFontIsCyrillicAndDeletedWhenReplaced) {
    // value, dpi, scaled: halves round away from zero, as MulDiv does.
    const int rows[][3] = {{395, 96, 395},  {395, 144, 593}, {670, 144, 1005}, {2, 120, 3}, {5, 120, 6},
                           {148, 120, 185}, {291, 192, 582}, {-3, 144, -5},    {0, 144, 0}, {1, 72, 1}};
    for (const auto& row : rows) EXPECT_EQ(ScaleToDpi(row[0], row[1]), row[2]) << row[0] << " at " << row[1];

    // A Russian Windows keeps the system font at its own scale; a Western one (charset 0) never does.
    for (int charset : {kCyrillicCharset, 0}) {
        StartConnected(kLanguageEnglish);
        g_window.scale.systemCharset = charset;
        FitControlFont();  // as the start does
        for (int dpi : {96, 144, 192, 96, 120}) {
            if (dpi != g_window.scale.dpi) ChangeDisplayScale(dpi, {0, 0, 100, 100});
            const bool own = dpi != 96 || charset != kCyrillicCharset;
            EXPECT_EQ(g_fakeWindow.fontsAlive, own ? 1 : 0) << dpi << " " << charset;
            EXPECT_EQ(g_fakeWindow.controlFont != nullptr, own) << dpi << " " << charset;
            EXPECT_TRUE(!own || g_fakeWindow.lastFont == std::vector<int>({96, dpi, kCyrillicCharset})) << dpi;
        }
        OnMainDestroy();
        EXPECT_EQ(g_fakeWindow.fontsAlive + g_fakeWindow.fontsDeletedInUse, 0);
        EXPECT_EQ(g_fakeWindow.controlFont, nullptr);
    }
}

TEST(Window, HelpMissingFromTheWorkingFolderIsLookedForBesideTheProgramBeforeNotFound) {
    for (bool besideProgram : {true, false}) {
        StartConnected(kLanguageEnglish);
        g_fakeWindow.helpBesideProgram = besideProgram;
        OpenHelpDocument();
        EXPECT_EQ(g_fakeWindow.opened, (std::vector<std::u16string>{u"help\\MivorZentak-6 ver_1_01.pdf",
                                                                    u"C:\\Program\\help\\MivorZentak-6 ver_1_01.pdf"}));
        EXPECT_EQ(g_fakeWindow.boxes.size(), besideProgram ? 0u : 2u);  // "File not found!", then the hint
    }
}
