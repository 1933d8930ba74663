#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/texts.h"
#include "serial/serial_link.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_serial.h"

namespace {

using Calls = std::vector<std::string>;

class SerialLink : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        ResetFakeSerial();
        g_main.window = FakeMainWindow();
        g_lang.current = kLanguageEnglish;
        SelectLanguageTexts();
    }

    // Opens COM3 and marks it open the way the callers do.
    FakeSerialPort& OpenCom3() {
        AddFakePort("COM3");
        EXPECT_TRUE(OpenPort("COM3", 19200));
        g_serial.portOpen = true;
        return g_fakeSerial.ports.back();
    }

    // One ReadPort into a 64-byte buffer that starts zero-filled.
    struct Reply {
        bool ok;
        std::int32_t length;
        std::string bytes;
    };
    Reply Read(std::int32_t capacity = 64) {
        std::uint8_t buffer[64] = {};
        std::int32_t length = -1;
        const bool ok = ReadPort(buffer, capacity, &length);
        const std::size_t shown = ok ? static_cast<std::size_t>(length) : 0;
        return {ok, length, std::string(reinterpret_cast<const char*>(buffer), shown)};
    }

    bool Write(const std::string& bytes) {
        return WritePort(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::int32_t>(bytes.size()));
    }
};

TEST_F(SerialLink, OpenConfiguresTheLineAfterTheTimeOutsAndKeepsEveryOtherDriverField) {
    FakeSerialPort& port = AddFakePort("COM3");
    port.driverState.reported[8] = 0x3C;  // e.g. hardware and XON/XOFF flow control bits

    ASSERT_TRUE(OpenPort("COM3", 19200));

    EXPECT_EQ(g_fakeSerial.paths, std::vector<std::string>{"\\\\.\\COM3"});
    EXPECT_EQ(port.calls, (Calls{"timeouts", "get", "set"}));
    EXPECT_EQ(port.timeouts.readInterval, 50u);
    EXPECT_EQ(port.timeouts.readTotalMultiplier, 10u);
    EXPECT_EQ(port.timeouts.readTotalConstant, 50u);
    EXPECT_EQ(port.timeouts.writeTotalMultiplier, 10u);
    EXPECT_EQ(port.timeouts.writeTotalConstant, 50u);
    EXPECT_EQ(port.state.baudRate, 19200u);
    EXPECT_EQ(port.state.byteSize, 8);
    EXPECT_EQ(port.state.parity, 0);
    EXPECT_EQ(port.state.stopBits, 0);
    EXPECT_EQ(std::memcmp(port.state.reported, port.driverState.reported, kPortStateSize), 0);

    EXPECT_EQ(FakePortOf(g_serial.handle), &port);
    EXPECT_FALSE(g_serial.portOpen);  // the callers set it
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SerialLink, EveryPortNameGoesThroughTheDevicePathWholeAndNothingLongerIsOpened) {
    for (const char* name : {"COM1", "COM9", "COM10", "COM255", "COM999"}) AddFakePort(name);
    for (const char* name : {"COM1", "COM9", "COM10", "COM255", "COM999"}) {
        ASSERT_TRUE(OpenPort(name, 19200)) << name;
        EXPECT_EQ(g_fakeSerial.paths.back(), std::string("\\\\.\\") + name);
        EXPECT_EQ(FakePortOf(g_serial.handle)->name, name);
    }

    // A cut "COM1000" would open COM100: too long is refused before any open.
    AddFakePort("COM100");
    const std::size_t opens = g_fakeSerial.paths.size();
    const std::string veryLong(300, '7');
    for (const std::string& name : {std::string("COM1000"), "COM" + veryLong}) {
        EXPECT_FALSE(OpenPort(name.c_str(), 19200)) << name;
        EXPECT_EQ(g_serial.handle, InvalidPortHandle());
    }
    EXPECT_EQ(g_fakeSerial.paths.size(), opens);
}

TEST_F(SerialLink, AFailedOpenOrConfigurationLeavesNoHandleOpenAndShowsNothing) {
    struct Row {
        const char* what;
        void (*arrange)(FakeSerialPort&);
        Calls expected;
    };
    const Row rows[] = {
        {"port held elsewhere", [](FakeSerialPort& p) { p.openError = 5; }, {}},
        {"time-outs refused", [](FakeSerialPort& p) { p.timeoutsError = 1; }, {"timeouts", "close"}},
        {"state unreadable", [](FakeSerialPort& p) { p.getStateError = 1; }, {"timeouts", "get", "close"}},
        {"state refused", [](FakeSerialPort& p) { p.setStateError = 87; }, {"timeouts", "get", "set", "close"}},
    };
    for (const Row& row : rows) {
        ResetFakeSerial();
        std::strcpy(g_serial.portName, "COM4");
        FakeSerialPort& port = AddFakePort("COM4");
        row.arrange(port);

        EXPECT_FALSE(OpenPort("COM4", 19200)) << row.what;
        EXPECT_EQ(port.calls, row.expected) << row.what;
        EXPECT_EQ(g_serial.handle, InvalidPortHandle()) << row.what;
        EXPECT_EQ(OpenFakeHandles(), 0) << row.what;
        EXPECT_FALSE(g_serial.portOpen) << row.what;
        EXPECT_STREQ(g_serial.portName, "COM4") << row.what;
    }

    ResetFakeSerial();
    EXPECT_FALSE(OpenPort("COM8", 19200));  // no such port
    EXPECT_EQ(g_serial.handle, InvalidPortHandle());
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SerialLink, AReplyEndsAtTheFirstGapOrWhenTheBufferIsFull) {
    FakeSerialPort& port = OpenCom3();
    QueueBytes(port, "ab");
    QueueGap(port);
    QueueBytes(port, "cd");
    QueueGap(port);
    QueueBytes(port, std::string(64, 'x') + "rest");  // 68 bytes without a gap
    QueueGap(port);
    QueueBytes(port, std::string(64, 'y'));
    QueueBytes(port, "z");

    Reply first = Read();
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.bytes, "ab");
    EXPECT_EQ(Read().bytes, "cd");
    Reply full = Read();
    EXPECT_EQ(full.length, 64);
    EXPECT_EQ(full.bytes, std::string(64, 'x'));
    EXPECT_EQ(Read().bytes, "rest");  // left in the queue, returned by the next read

    // Exactly the capacity: no byte is written past it and no extra read waits.
    std::uint8_t guarded[65];
    std::memset(guarded, 0xEE, sizeof(guarded));
    std::int32_t length = 0;
    ASSERT_TRUE(ReadPort(guarded, 64, &length));
    EXPECT_EQ(length, 64);
    EXPECT_EQ(guarded[64], 0xEE);
    EXPECT_EQ(Read().bytes, "z");
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SerialLink, ASilentLineOrAnEmptyBufferReadsNothingQuietly) {
    FakeSerialPort& port = OpenCom3();
    Reply silent = Read();
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(silent.length, -1);  // not written

    QueueBytes(port, "a");
    EXPECT_FALSE(Read(0).ok);
    EXPECT_EQ(Read().bytes, "a");  // the byte was not taken by the refused read
    EXPECT_TRUE(g_fake.boxes.empty());
    EXPECT_TRUE(g_serial.portOpen);
}

TEST_F(SerialLink, ReadAndWriteErrorsShowTheSystemErrorBoxAndKeepThePortState) {
    FakeSerialPort& port = OpenCom3();
    PortHandle handle = g_serial.handle;
    QueueBytes(port, "par");
    QueueReadError(port, 995);

    Reply failed = Read();
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.length, -1);
    port.writeError = 5;
    EXPECT_FALSE(Write("AT+READS_KRX"));
    port.writeError = static_cast<std::int32_t>(0x80070005u);  // printed signed
    EXPECT_FALSE(Write("AT+READS_KRX"));

    ASSERT_EQ(g_fake.boxes.size(), 3u);
    EXPECT_EQ(g_fake.boxes[0].text, "Error [995] when reading from a COM port!");
    EXPECT_EQ(g_fake.boxes[1].text, "Error [5] when writing to the COM port!");
    EXPECT_EQ(g_fake.boxes[2].text, "Error [-2147024891] when writing to the COM port!");
    for (const FakeMessageBox& box : g_fake.boxes) {
        EXPECT_EQ(box.owner, FakeMainWindow());
        EXPECT_EQ(box.caption, "Message");
        EXPECT_EQ(box.style, 0x10u);
        EXPECT_EQ(box.kind, 0u);  // the system's icon, not one of the program's
    }
    EXPECT_TRUE(g_serial.portOpen);
    EXPECT_EQ(g_serial.handle, handle);
    EXPECT_EQ(OpenFakeHandles(), 1);
}

TEST_F(SerialLink, TheErrorBoxSpeaksRussianInWindows1251) {
    g_lang.current = kLanguageRussian;
    SelectLanguageTexts();
    FakeSerialPort& port = OpenCom3();
    QueueReadError(port, 22);
    port.writeError = 1117;
    EXPECT_FALSE(Read().ok);
    EXPECT_FALSE(Write("AT+TMX1AO"));

    ASSERT_EQ(g_fake.boxes.size(), 2u);
    // "Ошибка [22] при считывание из COM-порта!"
    EXPECT_EQ(g_fake.boxes[0].text,
              "\xCE\xF8\xE8\xE1\xEA\xE0 [22] \xEF\xF0\xE8 \xF1\xF7\xE8\xF2\xFB\xE2\xE0\xED\xE8\xE5 "
              "\xE8\xE7 COM-\xEF\xEE\xF0\xF2\xE0!");
    // "Ошибка [1117] при записи в COM-порт!"
    EXPECT_EQ(g_fake.boxes[1].text,
              "\xCE\xF8\xE8\xE1\xEA\xE0 [1117] \xEF\xF0\xE8 \xE7\xE0\xEF\xE8\xF1\xE8 \xE2 COM-\xEF\xEE\xF0\xF2!");
    // "Сообщение"
    EXPECT_EQ(g_fake.boxes[0].caption, "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5");
}

TEST_F(SerialLink, AWriteSendsExactlyTheBytesAndAShortWriteFailsSilently) {
    FakeSerialPort& port = OpenCom3();
    EXPECT_TRUE(Write("AT+READS_KRX"));
    EXPECT_EQ(port.written, "AT+READS_KRX");  // no terminator

    port.writeLimit = 4;
    EXPECT_FALSE(Write("AT+WHDH5EM"));
    EXPECT_EQ(port.written, "AT+READS_KRXAT+W");
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SerialLink, CloseReleasesTheHandleOnlyWhileThePortIsOpen) {
    OpenCom3();
    ClosePort();
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    ClosePort();  // flag clear: nothing to do
    EXPECT_EQ(g_fakeSerial.badCloses, 0);

    // A reopen that failed has already closed its handle; the disconnect that
    // follows must not close it again.
    g_fakeSerial.ports.back().setStateError = 31;
    EXPECT_FALSE(OpenPort("COM3", 19200));
    g_serial.portOpen = true;
    ClosePort();
    EXPECT_FALSE(g_serial.portOpen);
    EXPECT_EQ(OpenFakeHandles(), 0);
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
}

}  // namespace
