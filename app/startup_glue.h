#pragma once

#include "app/handles.h"

// Start-up and message-loop calls of the platform (app/win32/startup_glue_win32.cpp).

struct ScreenSize {
    int width;
    int height;
};

ScreenSize PrimaryScreenSize();
// Dots per inch of the system (what its fonts are made for) and of a window's display; 96 is 100 %.
int SystemDpi();
int WindowDpi(WindowHandle window);
WindowHandle WindowFindTopLevel(const char* className, const char* title);  // exact class and title
// The session-wide claim that one copy runs, a named mutex held until the program ends. Unavailable: it
// exists but may not be opened (the first copy runs elevated), or it could not be made at all.
enum class InstanceClaim { kFirst, kTaken, kUnavailable };
InstanceClaim ClaimSingleInstance(const char* name);
// The copy that held the claim has ended (without a window, or just now): the claim is this copy's now.
bool SingleInstanceFreed();
bool WindowIsMinimized(WindowHandle window);
void WindowRestore(WindowHandle window);
void WindowToForeground(WindowHandle window);
void WindowEnable(WindowHandle window, bool enable);
bool WindowRegisterMainClass();
WindowHandle WindowCreateMain(const char* title, int x, int y, int width, int height);
void WindowShowAndPaint(WindowHandle window);
void WindowMakeTopmost(WindowHandle window);
void RunMessageLoop();  // until the quit message
void PostQuit();
void WindowSendClose(WindowHandle window);
void SleepMilliseconds(int milliseconds);  // blocks the GUI thread
