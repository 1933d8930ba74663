#pragma once

#include <cstdint>

// The reader's settings in the window: a payload shown as selected radio
// buttons and lamp colours, and the selected buttons read back into a write
// command. The codes themselves are the settings codec's.

// Applies a settings payload (at least 11 bytes, as the reply buffer holds it)
// to the window by the current reader model, reporting each code it does not
// know; an unknown model changes nothing.
void ApplySettingsPayload(const std::uint8_t* payload);

// Builds the write command of the current reader model from the selected radio
// buttons into `command` (kWriteCommandCapacity bytes) and stores its length:
// 9 for the serial-output reader, 10 for the USB reader, 0 for an unknown model.
void BuildWriteCommand(std::uint8_t* command, std::int32_t* length);
