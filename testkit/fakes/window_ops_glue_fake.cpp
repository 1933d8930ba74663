#include "testkit/fakes/fakes.h"
#include "ui/window_ops_glue.h"

// Of the windows, only the main window's controls and its port list (the one combo box) are kept.

FakeWindow g_fakeWindow;

static bool Listed(int index) { return index >= 0 && index < static_cast<int>(g_fakeWindow.portList.size()); }

void WindowSetText(WindowHandle, const char*) {}
void WindowShow(WindowHandle window, bool show) {
    if (show) g_fakeWindow.hiddenControls.erase(window);
    if (!show) g_fakeWindow.hiddenControls.insert(window);
}
void WindowInvalidate(WindowHandle, const PixelRect&, bool erase) { g_fakeWindow.lampRepaints += erase ? 0 : 1; }
void WindowSetRect(WindowHandle window, const PixelRect& rect) {
    if (window != FakeMainWindow()) return;
    g_fakeWindow.made += " moved to " + std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
                         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}
void ControlSetText(WindowHandle, int id, const char* text) { g_fakeWindow.controls[id].text = text; }
void ControlEnable(WindowHandle, int id, bool enable) { g_fakeWindow.controls[id].enabled = enable; }
void RadioCheckInRange(WindowHandle, int first, int last, int checked) {
    for (int id = first; id <= last; ++id) g_fakeWindow.controls[id].checked = id == checked;
}
bool RadioIsChecked(WindowHandle, int id) { return g_fakeWindow.controls[id].checked; }
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
void ComboSelect(WindowHandle, int, int index) { g_fakeWindow.portSelected = index; }
