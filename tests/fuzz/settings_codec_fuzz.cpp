// Arbitrary payloads through the decoder of both models, the decoded settings
// through the encoder. The command must hold only codes of the table (the
// payload it stands for decodes without a complaint), and decoding and
// encoding that again must give the same command.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "protocol/commands.h"
#include "protocol/settings_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < static_cast<std::size_t>(kSettingsPayloadLength)) return 0;
    // Exactly the payload's bytes on the heap, so that ASan sees any access past them.
    const std::vector<std::uint8_t> payload(data, data + kSettingsPayloadLength);
    for (int model : {kReaderSerial, kReaderUsb}) {
        std::vector<std::uint8_t> command(kWriteCommandCapacity);
        const DecodedPayload decoded = DecodeSettingsPayload(model, payload.data());
        const std::int32_t length = EncodeWriteCommand(decoded.settings, command.data());
        if (length != ModelInfoOf(model)->commandLength) __builtin_trap();
        // "1.00" and the command's setting characters: the payload that the command writes.
        std::vector<std::uint8_t> written(kSettingsPayloadLength);
        std::memcpy(written.data(), "1.00", kVersionLength);
        std::memcpy(written.data() + kVersionLength, command.data() + 3, static_cast<std::size_t>(length - 3));
        const DecodedPayload again = DecodeSettingsPayload(model, written.data());
        if (!again.versionSupported || again.unrecognisedCount != 0) __builtin_trap();
        std::vector<std::uint8_t> commandAgain(kWriteCommandCapacity);
        EncodeWriteCommand(again.settings, commandAgain.data());
        if (commandAgain != command) __builtin_trap();
    }
    return 0;
}
