#pragma once

#include <cstdint>

#include "serial/port_view.h"

// What the reader operations and the reader settings ask of the window beyond the serial subsystem's view
// (ui/reader_view.cpp, ui/lamps.cpp): the version, the settings' radio buttons and the lamps.

// What the version field shows while no reader's version is known.
constexpr const char* kNoVersion = "x.xx";

// The reader model of the tab shown now.
int ShownReaderModel();
void ShowVersion(const char* version);
// Selects `checked` among the radio buttons first..last (none when it is outside them).
void CheckRadio(int first, int last, int checked);
bool IsRadioChecked(int id);
void EnableControl(int id, bool enable);
// Lamp 1-5 takes the colour; it shows at the next paint of the lamp area.
void SetLampColour(int lamp, std::uint32_t colour);
// Asks for a repaint of the lamp area without erasing its background.
void InvalidateLampArea();
