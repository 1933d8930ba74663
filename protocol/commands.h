#pragma once

#include <cstdint>

// Bytes the program sends to the reader. Commands go out without any
// terminator; the arrays below carry a NUL only because they are C strings.

constexpr std::int32_t kReadCommandLength = 12;
constexpr char kReadCommandSerial[kReadCommandLength + 1] = "AT+READS_KRX";
constexpr char kReadCommandUsb[kReadCommandLength + 1] = "AT+READS_USB";

// A write command is "AT+" and the payload's setting characters.
constexpr std::int32_t kWriteCommandLengthSerial = 9;
constexpr std::int32_t kWriteCommandLengthUsb = 10;
constexpr std::int32_t kWriteCommandCapacity = 10;

// A reply is received into this many zero-filled bytes, never more.
constexpr std::int32_t kReplyBufferSize = 64;
