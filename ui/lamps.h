#pragma once

#include <cstdint>

#include "protocol/colours.h"
#include "ui/window_ops_glue.h"

// The five indicator lamps beside the settings groups. Whoever changes a colour
// calls InvalidateLampArea afterwards; the next paint shows it.

constexpr int kLampCount = 5;

// The lamp frame in the main window's client coordinates.
constexpr PixelRect kLampArea{330, 60, 380, 560};

struct LampState {
    std::uint32_t colour[kLampCount] = {};  // lamp 1 is colour[0]
};
extern LampState g_lamps;

// Asks for a repaint of the lamp area without erasing its background.
void InvalidateLampArea();
