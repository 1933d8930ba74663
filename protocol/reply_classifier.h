#pragma once

#include <cstdint>

// What a reader reply says, found by the scan in ClassifyReply.
enum ReplyClass : int {
    kReplyUnrecognized = 0,    // no complete marker in the received bytes
    kReplyUnknownCommand = 1,  // " - UNKNOWN CMD!" came first
    kReplyOk = 2,              // " - OK!" came first, without " >> " after it
    kReplyOkWithPayload = 3,   // " - OK! >> " came first; the payload now starts at buffer[0]
};

// Scans the first `received` bytes of the 64-byte reply buffer (a count above
// 64 is taken as 64, one of 0 or less gives kReplyUnrecognized). For
// kReplyOkWithPayload the payload is moved to the buffer's start; the bytes
// after it keep what they held, and *payloadLength (when asked for) says how
// many of the bytes at the start are the payload.
ReplyClass ClassifyReply(std::uint8_t* buffer, std::int32_t received, std::int32_t* payloadLength = nullptr);

// 0 when the payload's first four characters are the firmware version that
// `model` supports, -1 otherwise (and for an unknown model).
int CheckFirmwareVersion(const std::uint8_t* payload, int model);
