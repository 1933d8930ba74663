#pragma once

#include <cstdint>

// The settings of both reader models: each value's payload code, radio button
// and lamp colour, applied to the window from a payload and read back from the
// window into a write command.

// Applies a settings payload (at least 11 bytes, as the reply buffer holds it)
// to the window, by the current reader model; an unknown model changes nothing.
void ApplySettingsPayload(const std::uint8_t* payload);

// Builds the write command of the current reader model from the selected radio
// buttons into `command` (kWriteCommandCapacity bytes) and stores its length:
// 9 for the serial-output reader, 10 for the USB reader, 0 for an unknown model.
void BuildWriteCommand(std::uint8_t* command, std::int32_t* length);

// The lamp (1-5) and colour that a radio button stands for; false for a
// button without a lamp.
bool LampColourForRadio(int radioId, int* lamp, std::uint32_t* colour);
