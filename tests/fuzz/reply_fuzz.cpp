// Arbitrary replies through the classifier, then whatever the buffer holds
// through the version check of both models. Byte 0 is the received count
// (signed: counts of 0 or less and above 64 come up too); the rest fills the
// zeroed reply buffer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "protocol/commands.h"
#include "protocol/reply_classifier.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Exactly 64 heap bytes, so that ASan sees any access past the buffer.
    std::vector<std::uint8_t> reply(kReplyBufferSize);
    std::memcpy(reply.data(), data + 1, std::min(size - 1, reply.size()));
    const ReplyClass replyClass = ClassifyReply(reply.data(), static_cast<std::int8_t>(data[0]));
    if (replyClass < kReplyUnrecognized || replyClass > kReplyOkWithPayload) __builtin_trap();
    for (int model : {kReaderSerial, kReaderUsb}) {
        const int check = CheckFirmwareVersion(reply.data(), model);
        if (check != 0 && check != -1) __builtin_trap();
    }
    return 0;
}
