#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "protocol/commands.h"
#include "protocol/reply_classifier.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/tab_pages.h"

namespace {

// Classifies `text` as received into the zero-filled 64-byte buffer; `count`
// defaults to the text's length. Returns the buffer's first `keep` bytes.
std::string Classify(const std::string& text, ReplyClass* result, std::int32_t count = -1000, std::size_t keep = 64) {
    std::uint8_t buffer[kReplyBufferSize] = {};
    std::memcpy(buffer, text.data(), std::min(text.size(), sizeof buffer));
    *result = ClassifyReply(buffer, count == -1000 ? static_cast<std::int32_t>(text.size()) : count);
    return std::string(reinterpret_cast<const char*>(buffer), keep);
}

TEST(ClassifyReply, ScanFollowsTheGrammarAndItsResumePoints) {
    const std::string x58(58, 'x');
    const struct {
        std::string text;
        std::int32_t count;
        ReplyClass expected;
    } cases[] = {
        {" - OK!", 0, kReplyUnrecognized},
        {" - OK!", -5, kReplyUnrecognized},
        {" ", 1, kReplyUnrecognized},
        {"HELLO OK! >> 1.00", 17, kReplyUnrecognized},
        {"junk - OK!", 10, kReplyOk},                      // success marker last
        {" - OK! >>", 9, kReplyOk},                        // separator without its last space
        {" - OK! >> ", 10, kReplyOkWithPayload},           // empty payload: nothing moves
        {" - UNKNOWN CMD! - OK! >> 1.00", 29, kReplyUnknownCommand},
        {" - OK! - UNKNOWN CMD!", 21, kReplyOk},
        {" - ok! >> 1.00", 14, kReplyUnrecognized},
        {" - unknown cmd!", 15, kReplyUnrecognized},
        {"-OK! >> 1.00", 12, kReplyUnrecognized},
        {" - U - OK!", 10, kReplyUnrecognized},            // 2nd lead-in starts at the differing byte
        {" - OK - OK!", 11, kReplyUnrecognized},           // likewise, one byte further on
        {" - - OK!", 8, kReplyUnrecognized},               // other letter: skipped with the lead-in
        {" - X - OK!", 10, kReplyOk},                      // ...the scan goes on right after it
        {" - UNKNOWN X - OK!", 18, kReplyOk},              // resumes after the differing byte
        {" - UNKNOWN CM", 13, kReplyUnrecognized},         // data ends inside a marker
        {" - OK", 5, kReplyUnrecognized},
        {"abc - ", 6, kReplyUnrecognized},
        {x58 + " - OK!", 64, kReplyOk},
        {x58 + "xx - OK!", 66, kReplyUnrecognized},        // the count is cut at 64
        {" - OK! >> 1.00", 9, kReplyOk},                   // bytes past the count are not looked at
        {" - UNKNOWN CMD!", 14, kReplyUnrecognized},
        {"xx - OK! >> 1.00", 7, kReplyUnrecognized},
    };
    for (const auto& c : cases) {
        ReplyClass result;
        const std::string buffer = Classify(c.text, &result, c.count);
        EXPECT_EQ(result, c.expected) << '"' << c.text << "\" " << c.count;
        EXPECT_EQ(buffer.substr(0, c.text.size()), c.text.substr(0, 64)) << c.text << ": buffer changed";
    }
}

TEST(ClassifyReply, LiftedPayloadLeavesTheReplysOwnBytesBehindIt) {
    ReplyClass result;
    EXPECT_EQ(Classify("AB - OK! >> 1.00TMX1DO", &result, 22, 24), std::string("1.00TMX1DO> 1.00TMX1DO\0\0", 24));
    EXPECT_EQ(result, kReplyOkWithPayload);

    // An overlapping move of a payload that runs to the buffer's end.
    const std::string payload = "1.00" + std::string(49, 'p') + "z";
    EXPECT_EQ(Classify(" - OK! >> " + payload, &result, 200), payload + std::string(9, 'p') + "z");

    // The payload ends at the count: what lies beyond it stays where it was.
    EXPECT_EQ(Classify(" - OK! >> 1.00TMX1DO", &result, 14, 20), "1.00K! >> 1.00TMX1DO");
    EXPECT_EQ(result, kReplyOkWithPayload);
}

TEST(CheckFirmwareVersion, AcceptsOnlyExactly100ForEitherModel) {
    ResetFakePlatform();
    const auto check = [](int model, const char* payload) {
        g_tabs.readerModel = model;
        return CheckFirmwareVersion(reinterpret_cast<const std::uint8_t*>(payload));
    };
    EXPECT_EQ(check(kReaderSerial, "1.00TMX"), 0);
    EXPECT_EQ(check(kReaderUsb, "1.00WHD"), 0);
    for (const char* bad : {"1.0\0X", "1,00", "1.01", "2.00"}) {
        EXPECT_EQ(check(kReaderSerial, bad), -1) << bad;
        EXPECT_EQ(check(kReaderUsb, bad), -1) << bad;
    }
    EXPECT_EQ(check(2, "1.00"), -1);
}

}  // namespace
