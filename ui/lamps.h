#pragma once

#include <cstdint>

#include "ui/window_ops.h"

// The five indicator lamps beside the settings groups. Whoever changes a colour
// calls InvalidateLampArea afterwards; the next paint shows it.

// Colours are COLORREF values, 0x00BBGGRR.
constexpr std::uint32_t kColourRed = 0x000000FFu;
constexpr std::uint32_t kColourGreen = 0x0000FF00u;
constexpr std::uint32_t kColourBlue = 0x00FF0000u;
constexpr std::uint32_t kColourCyan = 0x00FFFF00u;
constexpr std::uint32_t kColourMagenta = 0x00FF00FFu;
constexpr std::uint32_t kColourYellow = 0x0000FFFFu;
constexpr std::uint32_t kColourWhite = 0x00FFFFFFu;

constexpr int kLampCount = 5;

// The lamp frame in the main window's client coordinates.
constexpr PixelRect kLampArea{330, 60, 380, 560};

struct LampState {
    std::uint32_t colour[kLampCount] = {};  // lamp 1 is colour[0]
};
extern LampState g_lamps;

// Asks for a repaint of the lamp area without erasing its background.
void InvalidateLampArea();
