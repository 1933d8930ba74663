#pragma once

#include "ui/window_ops_glue.h"

// What the main window does with each message, as its glue
// (ui/win32/window_procedure_glue_win32.cpp) hands them on by name. The glue then
// hands every message, handled or not, to the default window procedure.

// A menu item or a control; `selectionChanged` is set when the port list's
// selection has changed (any other notification of the list is ignored).
void OnMainCommand(int id, bool selectionChanged);
void OnMainTabChanged();
void OnMainTimer(int id);
// The system's device nodes changed (a device came or went).
void OnMainDevicesChanged();
void OnMainPaint();
// The right mouse button released at a point of the client area.
void OnMainRightClick(int x, int y);
void OnMainDestroy();
// The window is now on a display of `dpi` dots per inch; `suggested` is the
// system's rectangle for it there.
void OnMainDpiChanged(int dpi, const PixelRect& suggested);
