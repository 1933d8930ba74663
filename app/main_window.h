#pragma once

#include "app/handles.h"

// The main window's fixed outer size and class name.
constexpr int kMainWindowWidth = 395;
constexpr int kMainWindowHeight = 670;
constexpr const char* kMainWindowClass = "my Window";
constexpr int kProgramIconResource = 2;  // of the window class and the About box

// Set once when the main window is created; never reset.
struct MainWindowState {
    WindowHandle window = nullptr;
    int boxesUp = 0;  // its modal boxes and dialogs open now (an operation can end in their message loop)
};
extern MainWindowState g_main;

struct ScreenPoint {
    int x;
    int y;
};

// Top-left corner of a main window of this outer size: centred on the primary
// screen with truncating division, not clamped (a small screen puts the top above it).
ScreenPoint MainWindowPosition(int screenWidth, int screenHeight, int width, int height);

// The whole run: settings, single-instance rule, window, start-up search,
// message loop. Always returns 0.
int RunProgram();
