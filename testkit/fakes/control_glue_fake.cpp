#include "testkit/fakes/fakes.h"
#include "ui/control_glue.h"

// Controls are kept as hidden or not, and by id for their enabling: the window's layout is seen end to end.
// Fonts are counted.

void InitCommonControlClasses() {}
WindowHandle ControlCreate(WindowHandle, const char*, const char*, unsigned style, int, int, int, int, int id) {
    static char controls[kControlCount];  // a handle is a place in here, taken in turn
    static int made = 0;
    WindowHandle control = &controls[made++ % kControlCount];
    g_fakeWindow.controlIds[control] = id;
    if ((style & 0x10000000u) == 0) g_fakeWindow.hiddenControls.insert(control);  // made without WS_VISIBLE
    return control;
}
void ControlMove(WindowHandle, int, int, int, int) { ++g_fakeWindow.controlMoves; }
int SystemFontCharset() { return g_fakeWindow.systemCharset; }
FontHandle FontCreateFromSystem(int fromDpi, int toDpi, int charset) {
    static std::intptr_t created = 0;
    ++g_fakeWindow.fontsAlive;
    g_fakeWindow.lastFont = {fromDpi, toDpi, charset};
    return reinterpret_cast<FontHandle>(++created);
}
void ControlSetFont(WindowHandle, FontHandle font) { g_fakeWindow.controlFont = font; }
void FontDelete(FontHandle font) {
    --g_fakeWindow.fontsAlive;
    if (font == g_fakeWindow.controlFont) ++g_fakeWindow.fontsDeletedInUse;
}
void TabInsertItem(WindowHandle, int, const char*) {}
void TabSelect(WindowHandle, int index) { g_fakeWindow.tabSelected = index; }
int TabSelection(WindowHandle) { return g_fakeWindow.tabSelected; }
