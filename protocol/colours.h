#pragma once

#include <cstdint>

// The window shows some settings as five lamps (1-5).
constexpr int kLampCount = 5;

// Lamp colours as the system's colour values, 0x00BBGGRR.
constexpr std::uint32_t kColourRed = 0x000000FFu;
constexpr std::uint32_t kColourGreen = 0x0000FF00u;
constexpr std::uint32_t kColourBlue = 0x00FF0000u;
constexpr std::uint32_t kColourCyan = 0x00FFFF00u;
constexpr std::uint32_t kColourMagenta = 0x00FF00FFu;
constexpr std::uint32_t kColourYellow = 0x0000FFFFu;
constexpr std::uint32_t kColourWhite = 0x00FFFFFFu;
