#include <windows.h>

#include "app/menu_glue.h"
#include "app/wide_text_glue.h"

static HMENU Hmenu(MenuHandle menu) { return static_cast<HMENU>(menu); }

MenuHandle MenuCreateBar() { return CreateMenu(); }

MenuHandle MenuCreatePopup() { return CreatePopupMenu(); }

void MenuAppendItem(MenuHandle menu, int id, const char* text) {
    AppendMenuW(Hmenu(menu), MF_STRING, static_cast<UINT_PTR>(id), WideText(text).c_str());
}

void MenuAppendSeparator(MenuHandle menu) { AppendMenuW(Hmenu(menu), MF_SEPARATOR, 0, nullptr); }

void MenuAppendSubmenu(MenuHandle menu, MenuHandle submenu, const char* text) {
    AppendMenuW(Hmenu(menu), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), WideText(text).c_str());
}

void MenuSetCheck(MenuHandle menu, int id, bool checked) {
    CheckMenuItem(Hmenu(menu), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuAttach(WindowHandle window, MenuHandle bar) { SetMenu(static_cast<HWND>(window), Hmenu(bar)); }

void MenuDestroyAttached(WindowHandle window) { DestroyMenu(GetMenu(static_cast<HWND>(window))); }

void MenuDestroy(MenuHandle menu) { DestroyMenu(Hmenu(menu)); }

void MenuTrackAtClientPoint(MenuHandle menu, WindowHandle window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(static_cast<HWND>(window), &point);
    TrackPopupMenu(Hmenu(menu), TPM_RIGHTBUTTON, point.x, point.y, 0, static_cast<HWND>(window), nullptr);
}
