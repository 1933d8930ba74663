#include "app/startup_glue.h"
#include "tests/unit/fakes/fakes.h"

// No other copy runs, and a wait returns at once.

ScreenSize PrimaryScreenSize() { return {1920, 1080}; }
int SystemDpi() { return 96; }
int WindowDpi(WindowHandle) { return 96; }
WindowHandle WindowFindTopLevel(const char*) { return nullptr; }
bool WindowIsMinimized(WindowHandle) { return false; }
void WindowRestore(WindowHandle) {}
void WindowToForeground(WindowHandle) {}
void WindowEnable(WindowHandle window, bool enable) {
    if (window == FakeMainWindow()) g_fakeWindow.enabled = enable;
}
bool WindowRegisterMainClass() { return true; }
WindowHandle WindowCreateMain(const char*, int, int, int, int) { return nullptr; }
void WindowShowAndPaint(WindowHandle) {}
void WindowMakeTopmost(WindowHandle) {}
void RunMessageLoop() {}
void PostQuit() {}
void WindowSendClose(WindowHandle) {}
void SleepMilliseconds(int) {}
