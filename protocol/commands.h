#pragma once

#include <cstdint>

#include "protocol/reader_model.h"

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

// A settings payload starts with the 4-character firmware version.
constexpr int kVersionLength = 4;

// The read-settings command of a model; null for any other value.
inline const char* ReadCommandOf(int model) {
    if (model == kReaderSerial) return kReadCommandSerial;
    if (model == kReaderUsb) return kReadCommandUsb;
    return nullptr;
}
