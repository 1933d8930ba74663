#pragma once

#include "app/handles.h"

// Operations on existing windows and on the main window's child controls
// (ui/window_ops_win32.cpp). Controls are reached by identifier through their parent.

struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};

void WindowSetText(WindowHandle window, const char* text);
void WindowShow(WindowHandle window, bool show);
void WindowEnable(WindowHandle window, bool enable);
void WindowInvalidate(WindowHandle window, const PixelRect& area, bool erase);

void ControlSetText(WindowHandle parent, int id, const char* text);
void ControlEnable(WindowHandle parent, int id, bool enable);
void RadioCheckInRange(WindowHandle parent, int first, int last, int checked);
bool RadioIsChecked(WindowHandle parent, int id);
