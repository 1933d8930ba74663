#pragma once

#include "app/handles.h"
#include "ui/window_ops_glue.h"

// The window laid out for its display's scale: every pixel figure of the
// layout is made for 96 DPI and multiplied by dpi / 96 as the system rounds
// (halves away from zero), so at 96 DPI nothing moves by a pixel.

constexpr int kDesignDpi = 96;

int ScaleToDpi(int value, int dpi);
PixelRect ScaleRect(const PixelRect& rect, int dpi);

// The character set of the program's Russian texts (RUSSIAN_CHARSET).
constexpr int kCyrillicCharset = 204;

struct DisplayScaleState {
    int dpi = kDesignDpi;      // of the main window
    int fontDpi = kDesignDpi;  // that the system font of the controls was made for
    int systemCharset = kCyrillicCharset;  // of the system font
    FontHandle font = nullptr;  // the system font's face made for `dpi` in Cyrillic, where the system font
                                // does not serve; else null
};
extern DisplayScaleState g_scale;

// A layout figure at the main window's DPI.
int Scaled(int value);

// The system font serves the controls as it is where it is made for the window's DPI and holds Cyrillic
// (a Russian Windows at its own scale); elsewhere they get its face at the window's scale in Cyrillic.
bool SystemFontServes(int systemCharset, int fontDpi, int dpi);

// Gives every control the system font, or the same face at the window's
// scale with the Cyrillic character set where the system font does not
// serve; the font it replaces is deleted.
void FitControlFont();

// The controls get the system font back and the program's own is deleted
// (the window is going).
void ReleaseControlFont();

// The window moved to a display of another scale: it takes the rectangle the
// system suggests, and its controls, their font and the lamps follow.
void ChangeDisplayScale(int dpi, const PixelRect& suggested);
