#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "serial/serial_link.h"
#include "testkit/fakes/fakes.h"

using Waits = std::vector<std::uint32_t>;
using Reply = std::tuple<LinkResult, std::string, std::int32_t>;  // result, bytes, error number

// COM3 opened; its driver reports a line state block of its own.
class SerialLink : public ::testing::Test {
protected:
    void SetUp() override {
        StartFreshProgram();
        g_fakeSerial.ports = {FakePort{"COM3"}};
        for (int i = 0; i < kPortStateSize; ++i) port().driverBlock[i] = static_cast<unsigned char>(0xA0 + i);
        ASSERT_TRUE(LinkOpen("COM3", kBaudRate, &handle_));
    }
    FakePort& port() { return g_fakeSerial.ports[0]; }
    // The line as text: '|' is a quiet spell, '!' a failing read.
    void Line(const std::string& text) {
        for (char c : text) port().line.push_back(c == '|' ? kGap : c == '!' ? kReadFails : c);
    }
    Reply Read(std::int32_t capacity, std::uint32_t firstByteWaitMs = 0) {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity));  // ASan guards its end
        std::int32_t length = 7;                                               // what the caller's variable held before
        std::int32_t error = 0;
        const LinkResult result = LinkReadReply(handle_, buffer.data(), capacity, &length, &error, firstByteWaitMs);
        return {result, std::string(buffer.begin(), buffer.begin() + (result == kLinkOk ? length : 0)), error};
    }
    PortHandle handle_ = nullptr;
};

TEST_F(SerialLink, OpenSetsTheTimeOutsThen19200_8N1AndCarriesBackTheDriversOtherFields) {
    EXPECT_EQ(port().calls, "tgs");
    const PortTimeouts& t = port().timeouts;
    EXPECT_EQ((Waits{t.readInterval, t.readTotalMultiplier, t.readTotalConstant, t.writeTotalMultiplier,
                     t.writeTotalConstant}),
              (Waits{50, 10, 50, 10, 50}));
    const PortLineState& line = port().state;
    EXPECT_EQ((Waits{line.baudRate, line.byteSize, line.parity, line.stopBits}), (Waits{19200, 8, 0, 0}));
    EXPECT_EQ(std::memcmp(line.reported, port().driverBlock, kPortStateSize), 0);
}

TEST_F(SerialLink, APortThatCannotBeConfiguredIsClosedAndLeftInvalidAndNothingIsClosedTwice) {
    for (const auto& [failing, calls] : {std::pair<char, std::string>{'t', "tc"}, {'g', "tgc"}, {'s', "tgsc"}}) {
        g_fakeSerial.ports.push_back(FakePort{"COM4", failing});
        PortHandle handle = nullptr;
        EXPECT_FALSE(LinkOpen("COM4", kBaudRate, &handle)) << failing;
        EXPECT_EQ(handle, InvalidPortHandle());
        EXPECT_EQ(g_fakeSerial.ports.back().calls, calls);
        g_fakeSerial.ports.pop_back();
    }
    PortHandle none = nullptr;
    EXPECT_FALSE(LinkOpen("COM5", kBaudRate, &none));  // no such port
    EXPECT_EQ(none, InvalidPortHandle());
    for (PortHandle* handle : {&handle_, &handle_, &none}) LinkClose(handle);
    EXPECT_EQ(handle_, InvalidPortHandle());
    EXPECT_EQ(port().calls, "tgsc");
    EXPECT_EQ(g_fakeSerial.badCloses, 0);
}

TEST_F(SerialLink, AReplyEndsAtAGapOrAtTheCapacityAndTheRestStaysQueued) {
    Line("ab|" + std::string(64, 'x') + "rest|pa!");
    port().readError = 995;
    const std::pair<std::int32_t, Reply> reads[] = {
        {64, {kLinkOk, "ab", 0}},
        {0, {kLinkSilent, "", 0}},
        {64, {kLinkOk, std::string(64, 'x'), 0}},
        {64, {kLinkOk, "rest", 0}},
        {1, {kLinkOk, "p", 0}},
        {64, {kLinkError, "", 995}},  // what came before the failure is no reply
        {64, {kLinkSilent, "", 0}},
    };
    for (const auto& [capacity, reply] : reads) EXPECT_EQ(Read(capacity), reply) << std::get<1>(reply);
}

TEST_F(SerialLink, ALongerFirstWaitIsOnlyForTheFirstByte) {
    Line("ab|");
    EXPECT_EQ(Read(64, 1000), Reply(kLinkOk, "ab", 0));
    EXPECT_EQ(Read(64, 1000), Reply(kLinkSilent, "", 0));
    EXPECT_EQ(port().readWaits, (Waits{1000, 60, 60, 1000}));
    EXPECT_EQ(port().timeouts.readTotalConstant, 50u);  // the 60 ms gap is back for the next reply
}

TEST_F(SerialLink, AWriteIsWholeShortOrFailedWithTheSystemsNumber) {
    const std::tuple<int, std::int32_t, LinkResult, std::string> cases[] = {
        {-1, 0, kLinkOk, "AT+READS_KRX"}, {4, 0, kLinkShort, "AT+R"}, {-1, 5, kLinkError, ""}};
    for (const auto& [limit, systemError, result, written] : cases) {
        port().written.clear();
        port().writeLimit = limit;
        port().writeError = systemError;
        std::int32_t error = 0;
        EXPECT_EQ(LinkWrite(handle_, reinterpret_cast<const std::uint8_t*>("AT+READS_KRX"), 12, &error), result);
        EXPECT_EQ(std::make_pair(port().written, error), std::make_pair(written, systemError));
    }
    g_fakeSerial.lastError = 6;  // and a discard that works, then one that fails
    std::int32_t error = 0;
    EXPECT_EQ(LinkDiscardInput(handle_, &error), kLinkOk);
    EXPECT_EQ(std::make_pair(LinkDiscardInput(InvalidPortHandle(), &error), error), std::make_pair(kLinkError, 6));
}
