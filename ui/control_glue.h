#pragma once

#include "app/handles.h"

// Creating the main window's controls (ui/control_glue_win32.cpp).

// Registers the tab-control and progress-bar classes of the common controls.
void InitCommonControlClasses();
WindowHandle ControlCreate(WindowHandle parent, const char* windowClass, const char* text, unsigned style, int x,
                           int y, int width, int height, int id);
void TabInsertItem(WindowHandle tab, int index, const char* text);
void TabSelect(WindowHandle tab, int index);
int TabSelection(WindowHandle tab);
