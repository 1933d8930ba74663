#pragma once

#include <string>

#include "app/handles.h"

// Operations on existing windows and on the main window's child controls
// (ui/win32/window_ops_glue_win32.cpp). Controls are reached by identifier through their parent.

void WindowSetText(WindowHandle window, const char* text);
void WindowShow(WindowHandle window, bool show);
void WindowInvalidate(WindowHandle window, const PixelRect& area, bool erase);
// Moves and sizes a top-level window to a rectangle of the screen.
void WindowSetRect(WindowHandle window, const PixelRect& rect);

void ControlSetText(WindowHandle parent, int id, const char* text);
void ControlEnable(WindowHandle parent, int id, bool enable);
void RadioCheckInRange(WindowHandle parent, int first, int last, int checked);
bool RadioIsChecked(WindowHandle parent, int id);

// The drop-down list of ports (a combo box child of `parent`).
int ComboCount(WindowHandle parent, int id);
std::string ComboText(WindowHandle parent, int id, int index);  // the whole entry, "" when there is none
int ComboSelection(WindowHandle parent, int id);
void ComboReset(WindowHandle parent, int id);
void ComboAdd(WindowHandle parent, int id, const char* text);
// Adds a UTF-16 text as it is (a port name from the system).
void ComboAddWide(WindowHandle parent, int id, const char16_t* text);
void ComboDelete(WindowHandle parent, int id, int index);
void ComboSelect(WindowHandle parent, int id, int index);
