#pragma once

#include "app/handles.h"

// Creating the main window's controls (ui/control_glue_win32.cpp).

// Registers the tab-control and progress-bar classes of the common controls.
void InitCommonControlClasses();
WindowHandle ControlCreate(WindowHandle parent, const char* windowClass, const char* text, unsigned style, int x,
                           int y, int width, int height, int id);
// Moves and sizes a control in its parent's client area.
void ControlMove(WindowHandle control, int x, int y, int width, int height);
// The face of the system font, at the size it has at `toDpi` where it was made for `fromDpi`.
FontHandle FontCreateScaled(int fromDpi, int toDpi);
// null gives the control the system font back.
void ControlSetFont(WindowHandle control, FontHandle font);
void FontDelete(FontHandle font);
void TabInsertItem(WindowHandle tab, int index, const char* text);
void TabSelect(WindowHandle tab, int index);
int TabSelection(WindowHandle tab);
