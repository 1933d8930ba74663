#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "protocol/commands.h"
#include "protocol/reply_classifier.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/tab_pages.h"

namespace {

struct Reply {
    std::uint8_t bytes[kReplyBufferSize] = {};
};

// The zero-filled buffer with `text` in front (cut at 64 bytes).
Reply Received(const std::string& text) {
    Reply reply;
    std::memcpy(reply.bytes, text.data(), text.size() < sizeof reply.bytes ? text.size() : sizeof reply.bytes);
    return reply;
}

std::string Bytes(const Reply& reply, std::size_t count) {
    return std::string(reinterpret_cast<const char*>(reply.bytes), count);
}

constexpr std::int32_t kAll = -1000;  // received = the text's own length

struct ClassCase {
    const char* what;
    std::string text;
    std::int32_t received;
    ReplyClass expected;
};

TEST(ClassifyReply, ScanFollowsTheGrammarAndItsResumePoints) {
    const std::string x58(58, 'x');
    const ClassCase cases[] = {
        {"nothing received", " - OK!", 0, kReplyUnrecognized},
        {"negative count", " - OK!", -5, kReplyUnrecognized},
        {"one byte", " ", kAll, kReplyUnrecognized},
        {"no lead-in", "HELLO OK! >> 1.00", kAll, kReplyUnrecognized},
        {"success marker last", "junk - OK!", kAll, kReplyOk},
        {"separator without its last space", " - OK! >>", kAll, kReplyOk},
        {"full separator, empty payload", " - OK! >> ", kAll, kReplyOkWithPayload},
        {"rejection first wins", " - UNKNOWN CMD! - OK! >> 1.00", kAll, kReplyUnknownCommand},
        {"success first wins", " - OK! - UNKNOWN CMD!", kAll, kReplyOk},
        {"lower case success", " - ok! >> 1.00", kAll, kReplyUnrecognized},
        {"lower case rejection", " - unknown cmd!", kAll, kReplyUnrecognized},
        {"hyphen without spaces", "-OK! >> 1.00", kAll, kReplyUnrecognized},
        {"'U' then a lead-in at the differing byte", " - U - OK!", kAll, kReplyUnrecognized},
        {"'OK' then a lead-in at the differing byte", " - OK - OK!", kAll, kReplyUnrecognized},
        {"other marker letter skips one byte more", " - - OK!", kAll, kReplyUnrecognized},
        {"resume after the differing byte finds later marker", " - UNKNOWN X - OK!", kAll, kReplyOk},
        {"other letter, then a lead-in right after it", " - X - OK!", kAll, kReplyOk},
        {"data ends inside the rejection", " - UNKNOWN CM", kAll, kReplyUnrecognized},
        {"data ends inside the success", " - OK", kAll, kReplyUnrecognized},
        {"lead-in alone", "abc - ", kAll, kReplyUnrecognized},
        {"marker in the last 64th byte", x58 + " - OK!", 64, kReplyOk},
        {"marker beyond 64 bytes", x58 + "xx - OK!", 66, kReplyUnrecognized},
        {"bytes past the count are ignored", " - OK! >> 1.00", 9, kReplyOk},
        {"rejection past the count", " - UNKNOWN CMD!", 14, kReplyUnrecognized},
        {"success past the count", "xx - OK! >> 1.00", 7, kReplyUnrecognized},
    };
    for (const ClassCase& c : cases) {
        Reply reply = Received(c.text);
        const Reply before = reply;
        const std::int32_t received = c.received == kAll ? static_cast<std::int32_t>(c.text.size()) : c.received;
        EXPECT_EQ(ClassifyReply(reply.bytes, received), c.expected) << c.what;
        // Only a non-empty payload moves anything.
        EXPECT_EQ(std::memcmp(reply.bytes, before.bytes, sizeof reply.bytes), 0) << c.what << ": buffer changed";
    }
}

TEST(ClassifyReply, LiftedPayloadLeavesTheReplysOwnBytesBehindIt) {
    Reply reply = Received("AB - OK! >> 1.00TMX1DO");
    ASSERT_EQ(ClassifyReply(reply.bytes, 22), kReplyOkWithPayload);
    EXPECT_EQ(Bytes(reply, 24), std::string("1.00TMX1DO> 1.00TMX1DO\0\0", 24));

    // Overlapping move of a payload that fills the buffer to its end.
    const std::string payload = "1.00" + std::string(50, 'p');
    reply = Received(" - OK! >> " + payload);
    ASSERT_EQ(ClassifyReply(reply.bytes, 200), kReplyOkWithPayload);
    EXPECT_EQ(Bytes(reply, 54), payload);
    EXPECT_EQ(Bytes(reply, 64).substr(54), std::string(10, 'p'));

    // What lies past the count is neither moved nor taken as payload.
    reply = Received(" - OK! >> 1.00TMX1DO");
    ASSERT_EQ(ClassifyReply(reply.bytes, 14), kReplyOkWithPayload);
    EXPECT_EQ(Bytes(reply, 20), "1.00OK! >> 1.0TMX1DO");
}

TEST(CheckFirmwareVersion, AcceptsOnlyExactly100ForEitherModel) {
    ResetFakePlatform();
    const struct {
        const char* payload;
        int model;
        int expected;
    } cases[] = {
        {"1.00TMX", kReaderSerial, 0}, {"1.00WHD", kReaderUsb, 0},  {"1.0\0X", kReaderSerial, -1},
        {"1,00", kReaderSerial, -1},   {"1.01", kReaderUsb, -1},    {"2.00", kReaderSerial, -1},
        {"1.00", 2, -1},               {"1.00", -1, -1},
    };
    for (const auto& c : cases) {
        g_tabs.readerModel = c.model;
        EXPECT_EQ(CheckFirmwareVersion(reinterpret_cast<const std::uint8_t*>(c.payload)), c.expected)
            << c.payload << " model " << c.model;
    }
}

}  // namespace
