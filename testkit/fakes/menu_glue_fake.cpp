#include "app/menu_glue.h"

// Menus are not kept: they are seen end to end.

MenuHandle MenuCreateBar() { return nullptr; }
MenuHandle MenuCreatePopup() { return nullptr; }
void MenuAppendItem(MenuHandle, int, const char*) {}
void MenuAppendSeparator(MenuHandle) {}
void MenuAppendSubmenu(MenuHandle, MenuHandle, const char*) {}
void MenuSetCheck(MenuHandle, int, bool) {}
void MenuAttach(WindowHandle, MenuHandle) {}
void MenuDestroyAttached(WindowHandle) {}
void MenuDestroy(MenuHandle) {}
void MenuTrackAtClientPoint(MenuHandle, WindowHandle, int, int) {}
