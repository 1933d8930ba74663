#pragma once

#include "app/handles.h"

// The window laid out for its display's scale: every pixel figure of the
// layout is made for 96 DPI and multiplied by dpi / 96 as the system rounds
// (halves away from zero), so at 96 DPI nothing moves by a pixel. ScaleToDpi
// and FitControlFont are declared with what start-up asks of the window (app/main_window.h).

PixelRect ScaleRect(const PixelRect& rect, int dpi);

// A layout figure at the main window's DPI.
int Scaled(int value);

// The controls get the system font back and the program's own is deleted
// (the window is going).
void ReleaseControlFont();
