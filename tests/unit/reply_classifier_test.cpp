#include <gtest/gtest.h>

#include <cstring>

#include "protocol/commands.h"
#include "protocol/reply_classifier.h"

TEST(ClassifyReply, TheScanResumesWhereTheGrammarSaysAndLiftsThePayload) {
    const std::string x58(58, 'x');
    const std::string longPayload = "1.00" + std::string(49, 'p') + "z";  // runs to the buffer's end
    // Received into the zero-filled 64-byte buffer: the text and the count given; then the class and the
    // buffer's first bytes ("": the text, unmoved).
    const std::tuple<std::string, std::int32_t, ReplyClass, std::string> cases[] = {
        {" - OK!", 0, kReplyUnrecognized, ""},
        {" - OK!", -5, kReplyUnrecognized, ""},
        {"junk - OK!", 10, kReplyOk, ""},                                 // the success marker as the last bytes
        {" - OK! >>", 9, kReplyOk, ""},                                   // a separator without its last space
        {" - UNKNOWN CMD! - OK! >> 1.00", 29, kReplyUnknownCommand, ""},  // the earlier marker wins
        {" - OK! - UNKNOWN CMD!", 21, kReplyOk, ""},
        {" - ok! >> 1.00", 14, kReplyUnrecognized, ""},
        {"-OK! >> 1.00", 12, kReplyUnrecognized, ""},
        {" - U - OK!", 10, kReplyUnrecognized, ""},  // the 2nd lead-in starts at the differing byte: skipped
        {" - OK - OK!", 11, kReplyUnrecognized, ""},
        {" - UNKNOWN X - OK!", 18, kReplyOk, ""},       // resumes one byte after the differing one
        {" - - OK!", 8, kReplyUnrecognized, ""},        // neither 'O' nor 'U': skipped with the lead-in...
        {" - X - OK!", 10, kReplyOk, ""},               // ...and the scan goes on right after it
        {" - UNKNOWN CM", 13, kReplyUnrecognized, ""},  // the data ends inside a marker
        {x58 + " - OK!", 64, kReplyOk, ""},
        {x58 + "xx - OK!", 66, kReplyUnrecognized, x58 + "xx -"},  // the count is cut at 64
        {" - OK! >> 1.00", 9, kReplyOk, ""},                       // bytes past the count are not looked at
        {"AB - OK! >> ", 12, kReplyOkWithPayload, ""},             // an empty payload: nothing moves
        {"AB - OK! >> 1.00TMX1DO", 22, kReplyOkWithPayload, std::string("1.00TMX1DO> 1.00TMX1DO\0\0", 24)},
        {" - OK! >> 1.00TMX1DO", 14, kReplyOkWithPayload, "1.00K! >> 1.00TMX1DO"},  // a short payload
        {" - OK! >> " + longPayload, 200, kReplyOkWithPayload, longPayload + std::string(9, 'p') + "z"},
    };
    for (const auto& [text, count, expected, after] : cases) {
        std::uint8_t buffer[kReplyBufferSize] = {};
        std::memcpy(buffer, text.data(), std::min(text.size(), sizeof buffer));
        EXPECT_EQ(ClassifyReply(buffer, count), expected) << text << ' ' << count;
        const std::string& bytes = after.empty() ? text : after;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), bytes.size()), bytes) << text;
    }
}

TEST(CheckFirmwareVersion, AcceptsOnly100ForEitherModel) {
    const auto check = [](const char* payload, int model) {
        return CheckFirmwareVersion(reinterpret_cast<const std::uint8_t*>(payload), model);
    };
    for (int model : {kReaderSerial, kReaderUsb}) {
        EXPECT_EQ(check("1.00TMX", model), 0);
        for (const char* bad : {"1.0", "1,00", "1.01", "2.00"}) EXPECT_EQ(check(bad, model), -1) << bad;
    }
    EXPECT_EQ(check("1.00", 2), -1);
}
