#pragma once

#include "app/handles.h"

// Creating the main window's controls (ui/win32/control_glue_win32.cpp).

// Registers the tab-control and progress-bar classes of the common controls.
void InitCommonControlClasses();
// A Unicode control: its text goes in as UTF-16.
WindowHandle ControlCreate(WindowHandle parent, const char* windowClass, const char* text, unsigned style, int x, int y,
                           int width, int height, int id);
// Moves and sizes a control in its parent's client area.
void ControlMove(WindowHandle control, int x, int y, int width, int height);
// The character set of the system font (the controls' own until they are given another).
int SystemFontCharset();
// The face of the system font, at the size it has at `toDpi` where it was made for `fromDpi`, in that
// character set.
FontHandle FontCreateFromSystem(int fromDpi, int toDpi, int charset);
// null gives the control the system font back.
void ControlSetFont(WindowHandle control, FontHandle font);
void FontDelete(FontHandle font);
void TabInsertItem(WindowHandle tab, int index, const char* text);
void TabSelect(WindowHandle tab, int index);
int TabSelection(WindowHandle tab);
