#pragma once

#include "app/handles.h"

// Message boxes of the platform (app/win32/message_box_glue_win32.cpp).

// A modal box with the OK button and the program's own icon of the given kind
// (style gets MB_USERICON added). Returns what the system returned.
int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style, unsigned kind);

// A modal box with the OK button and one of the system's own icons.
constexpr unsigned kStyleIconError = 0x10;  // the system's error icon
int ShowSystemMessage(WindowHandle owner, const char* text, const char* caption, unsigned style);
