#pragma once

#include "app/handles.h"

// The five indicator lamps beside the settings groups. Whoever changes a colour
// calls InvalidateLampArea afterwards (protocol/reader_view.h); the next paint shows it.

// The lamp frame in the main window's client coordinates.
constexpr PixelRect kLampArea{330, 60, 380, 560};
