#pragma once

#include "app/handles.h"

// Menu calls of the platform (app/win32/menu_glue_win32.cpp). Results are not examined.

MenuHandle MenuCreateBar();
MenuHandle MenuCreatePopup();
void MenuAppendItem(MenuHandle menu, int id, const char* text);
void MenuAppendSeparator(MenuHandle menu);
void MenuAppendSubmenu(MenuHandle menu, MenuHandle submenu, const char* text);
void MenuSetCheck(MenuHandle menu, int id, bool checked);
void MenuAttach(WindowHandle window, MenuHandle bar);
void MenuDestroyAttached(WindowHandle window);  // the bar and all its submenus
void MenuDestroy(MenuHandle menu);
// Shows a popup menu at a point of the window's client area, right button
// tracking; the chosen command arrives at the window as WM_COMMAND.
void MenuTrackAtClientPoint(MenuHandle menu, WindowHandle window, int x, int y);
