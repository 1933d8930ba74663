#include <string>

#include "app/startup_glue.h"
#include "testkit/fakes/fakes.h"

// Another copy's window (minimized) turns up at a given look-up, and a wait returns at once. A control is
// enabled by its handle as by its id.

FakeInstance g_fakeInstance;
static char g_otherWindow;

ScreenSize PrimaryScreenSize() { return {1920, 1080}; }
int SystemDpi() { return 96; }
int WindowDpi(WindowHandle) { return g_fakeWindow.dpi; }
WindowHandle WindowFindTopLevel(const char* className, const char*) {
    const bool found = g_fakeInstance.windowAtLookup >= 0 && g_fakeInstance.lookups++ >= g_fakeInstance.windowAtLookup;
    return found && std::string(className) == g_fakeInstance.windowClass ? &g_otherWindow : nullptr;
}
InstanceClaim ClaimSingleInstance(const char*) { return g_fakeInstance.claim; }
bool SingleInstanceFreed() { return g_fakeInstance.polls == g_fakeInstance.freedAtPoll; }
bool WindowIsMinimized(WindowHandle) { return true; }
void WindowRestore(WindowHandle) { ++g_fakeInstance.restored; }
void WindowToForeground(WindowHandle) { ++g_fakeInstance.forwarded; }
void WindowEnable(WindowHandle window, bool enable) {
    if (window == FakeMainWindow()) g_fakeWindow.enabled = enable;
    const auto control = g_fakeWindow.controlIds.find(window);
    if (control != g_fakeWindow.controlIds.end()) g_fakeWindow.controls[control->second].enabled = enable;
}
bool WindowRegisterMainClass() { return g_fakeInstance.startFails != 'c'; }
WindowHandle WindowCreateMain(const char* title, int x, int y, int width, int height) {
    g_fakeWindow.made = std::string(title) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                        std::to_string(width) + "x" + std::to_string(height);
    return g_fakeInstance.startFails == 'w' ? nullptr : FakeMainWindow();
}
void WindowShowAndPaint(WindowHandle) { g_fakeWindow.made += " shown"; }
void WindowMakeTopmost(WindowHandle) { g_fakeWindow.made += " on top"; }
void RunMessageLoop() { g_fakeWindow.made += ", its messages run"; }
void PostQuit() { g_fakeWindow.made += ", quit"; }
void WindowSendClose(WindowHandle) {}
void SleepMilliseconds(int) {
    ++g_fakeInstance.polls;
    if (g_fakeInstance.inPause != nullptr) g_fakeInstance.inPause();
}
