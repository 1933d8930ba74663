#pragma once

// Opaque handles of the platform's windows and menus. Portable code only stores
// and passes them on; the glue files are the only ones that look inside.
using WindowHandle = void*;
using MenuHandle = void*;
using FontHandle = void*;

// A rectangle of a window's client area or of the screen, in pixels.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};
