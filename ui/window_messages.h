#pragma once

#include <cstdint>

// The window messages the main window reacts to, with the platform's numbers
// (the glue checks them against the system headers at compile time).
enum WindowMessage : unsigned {
    kWmDestroy = 0x0002,
    kWmPaint = 0x000F,
    kWmNotify = 0x004E,
    kWmCommand = 0x0111,
    kWmTimer = 0x0113,
    kWmRButtonUp = 0x0205,
    kWmDeviceChange = 0x0219,
};

using MessageWParam = std::uintptr_t;
using MessageLParam = std::intptr_t;
