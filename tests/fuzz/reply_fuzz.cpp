// libFuzzer target: arbitrary replies through the classifier, then whatever
// the buffer holds through the version check, both decoders and both encoders.
// Input: byte 0 is the received count (signed, so counts of 0 or less and
// above 64 come up as well), the rest fills the zeroed reply buffer.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "app/main_window.h"
#include "protocol/commands.h"
#include "protocol/reader_settings.h"
#include "protocol/reply_classifier.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/tab_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::int32_t received = static_cast<std::int8_t>(data[0]);
    const std::size_t capacity = static_cast<std::size_t>(kReplyBufferSize);
    const std::size_t bytes = size - 1 < capacity ? size - 1 : capacity;

    // Exactly 64 heap bytes, so that ASan sees any access past the buffer.
    std::unique_ptr<std::uint8_t[]> reply(new std::uint8_t[kReplyBufferSize]());
    std::memcpy(reply.get(), data + 1, bytes);
    const ReplyClass replyClass = ClassifyReply(reply.get(), received);
    if (replyClass < kReplyUnrecognized || replyClass > kReplyOkWithPayload) __builtin_trap();

    for (int model : {kReaderSerial, kReaderUsb}) {
        ResetFakePlatform();  // keeps the message log from growing across runs
        g_main.window = FakeMainWindow();
        g_tabs.readerModel = model;
        CheckFirmwareVersion(reply.get());
        ApplySettingsPayload(reply.get());

        std::unique_ptr<std::uint8_t[]> command(new std::uint8_t[kWriteCommandCapacity]());
        std::int32_t length = -1;
        BuildWriteCommand(command.get(), &length);
        if (length != (model == kReaderSerial ? kWriteCommandLengthSerial : kWriteCommandLengthUsb)) {
            __builtin_trap();
        }
    }
    return 0;
}
