#pragma once

#include "app/handles.h"
#include "protocol/reader_model.h"

// The main window's fixed outer size and class name.
constexpr int kMainWindowWidth = 395;
constexpr int kMainWindowHeight = 670;
constexpr const char* kMainWindowClass = "my Window";
constexpr int kProgramIconResource = 2;  // of the window class and the About box

// The shell's part of the program's state, alive for the whole run.
struct ShellState {
    WindowHandle window = nullptr;  // the main window: set once it is created, never reset
    // Its modal boxes and dialogs open now (an operation can end in their message loop).
    int boxesUp = 0;
    int readerModel = kReaderSerial;       // the index of the selected tab: from the settings file, then a tab change
    MenuHandle languageSubmenu = nullptr;  // replaced by each BuildMenuBar
};
extern ShellState g_shell;

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

// What start-up and the language switch ask of the window's contents (ui/main_window.cpp; ScaleToDpi
// and FitControlFont ui/display_scale.cpp).

// A layout figure made for 96 DPI at `dpi`, rounded as the system rounds (halves away from zero).
int ScaleToDpi(int value, int dpi);
// The window and the system font of its controls are made for the system's DPI; notes the system font's
// character set.
void StartAtSystemDpi(int dpi);
// Builds the menu bar, then every control in order, showing the page of the
// current reader model before READ, WRITE and the lamp frame are created.
void CreateMainWindowControls();
// The window moved to a display of another scale: it takes the rectangle the
// system suggests, and its controls, their font and the lamps follow.
void ChangeDisplayScale(int dpi, const PixelRect& suggested);
// Gives every control the system font, or the same face at the window's
// scale with the Cyrillic character set where the system font does not
// serve; the font it replaces is deleted.
void FitControlFont();
// The title and every control that shows a language text, shown or hidden, in the current language.
void RetextMainWindow();
