#include "tests/unit/fakes/fakes.h"
#include "ui/window_ops_glue.h"

// Of the windows, only the main window's port list (the one combo box) is kept.

FakeWindow g_fakeWindow;

static bool Listed(int index) { return index >= 0 && index < static_cast<int>(g_fakeWindow.portList.size()); }

void WindowSetText(WindowHandle, const char*) {}
void WindowShow(WindowHandle, bool) {}
void WindowInvalidate(WindowHandle, const PixelRect&, bool) {}
void WindowSetRect(WindowHandle, const PixelRect&) {}
void ControlSetText(WindowHandle, int, const char*) {}
void ControlEnable(WindowHandle, int, bool) {}
void RadioCheckInRange(WindowHandle, int, int, int) {}
bool RadioIsChecked(WindowHandle, int) { return false; }
int ComboCount(WindowHandle, int) { return static_cast<int>(g_fakeWindow.portList.size()); }
std::string ComboText(WindowHandle, int, int index) { return Listed(index) ? g_fakeWindow.portList[index] : ""; }
int ComboSelection(WindowHandle, int) { return 0; }
void ComboReset(WindowHandle, int) { g_fakeWindow.portList.clear(); }
void ComboAdd(WindowHandle, int, const char* text) { g_fakeWindow.portList.push_back(text); }
void ComboAddWide(WindowHandle, int, const char16_t* text) {
    g_fakeWindow.portList.emplace_back();
    for (; *text != u'\0'; ++text) g_fakeWindow.portList.back().push_back(static_cast<char>(*text));
}
void ComboDelete(WindowHandle, int, int index) {
    if (Listed(index)) g_fakeWindow.portList.erase(g_fakeWindow.portList.begin() + index);
}
void ComboSelect(WindowHandle, int, int) {}
