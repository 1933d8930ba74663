#include "protocol/reply_classifier.h"

#include <cstring>

#include "protocol/commands.h"

namespace {

// A reply reads: anything, " - ", then "OK!" or "UNKNOWN CMD!", and for a
// settings reply " >> " and the payload.
constexpr char kLeadIn[] = " - ";
constexpr std::int32_t kLeadInLength = 3;
constexpr char kOkRest[] = "K!";                // "OK!" after the 'O' that chose it
constexpr char kUnknownRest[] = "NKNOWN CMD!";  // "UNKNOWN CMD!" after its 'U'
constexpr std::int32_t kOkLength = 3;
constexpr char kSeparator[] = " >> ";
// Lead-in, "OK!" and separator: the payload begins 10 bytes after the lead-in.
constexpr std::int32_t kPayloadOffset = 10;

// Held apart: each reader model may move to a new firmware on its own.
constexpr char kSerialFirmwareVersion[kVersionLength + 1] = "1.00";
constexpr char kUsbFirmwareVersion[kVersionLength + 1] = "1.00";

enum class Match { kEqual, kDiffers, kDataEnds };

// Compares b[at], b[at+1] ... with `text` in order, touching no byte at or
// past n. On kDiffers, *differsAt is the first position that differed.
Match MatchText(const std::uint8_t* b, std::int32_t n, std::int32_t at, const char* text, std::int32_t* differsAt) {
    for (std::int32_t k = 0; text[k] != '\0'; ++k) {
        const std::int32_t p = at + k;
        if (p >= n) return Match::kDataEnds;
        if (b[p] != static_cast<std::uint8_t>(text[k])) {
            *differsAt = p;
            return Match::kDiffers;
        }
    }
    return Match::kEqual;
}

}  // namespace

ReplyClass ClassifyReply(std::uint8_t* buffer, std::int32_t received, std::int32_t* payloadLength) {
    const std::int32_t n = received > kReplyBufferSize ? kReplyBufferSize : received;
    std::int32_t i = 0;
    while (i < n) {
        std::int32_t differsAt = 0;
        if (MatchText(buffer, n, i, kLeadIn, &differsAt) != Match::kEqual) {
            ++i;
            continue;
        }
        const std::int32_t marker = i + kLeadInLength;
        if (marker >= n || (buffer[marker] != 'O' && buffer[marker] != 'U')) {
            i = marker + 1;  // the character after the lead-in is skipped as well
            continue;
        }
        const bool success = buffer[marker] == 'O';
        const Match rest = MatchText(buffer, n, marker + 1, success ? kOkRest : kUnknownRest, &differsAt);
        if (rest == Match::kDataEnds) break;
        if (rest == Match::kDiffers) {
            i = differsAt + 1;  // a lead-in starting at the differing byte is not seen
            continue;
        }
        if (!success) return kReplyUnknownCommand;
        if (MatchText(buffer, n, marker + kOkLength, kSeparator, &differsAt) != Match::kEqual) return kReplyOk;

        const std::int32_t payload = i + kPayloadOffset;
        if (payload < n) std::memmove(buffer, buffer + payload, static_cast<std::size_t>(n - payload));
        if (payloadLength != nullptr) *payloadLength = payload < n ? n - payload : 0;
        return kReplyOkWithPayload;
    }
    return kReplyUnrecognized;
}

int CheckFirmwareVersion(const std::uint8_t* payload, int model) {
    const char* supported = nullptr;
    if (model == kReaderSerial) supported = kSerialFirmwareVersion;
    if (model == kReaderUsb) supported = kUsbFirmwareVersion;
    if (supported == nullptr) return -1;
    return std::memcmp(payload, supported, kVersionLength) == 0 ? 0 : -1;
}
