#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/single_instance.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "serial/port_view.h"

ShellState g_shell;

ScreenPoint MainWindowPosition(int screenWidth, int screenHeight, int width, int height) {
    return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

namespace {

// The main window at `dpi`, centred on the primary screen.
PixelRect MainWindowRect(const ScreenSize& screen, int dpi) {
    const int width = ScaleToDpi(kMainWindowWidth, dpi);
    const int height = ScaleToDpi(kMainWindowHeight, dpi);
    const ScreenPoint at = MainWindowPosition(screen.width, screen.height, width, height);
    return {at.x, at.y, at.x + width, at.y + height};
}

}  // namespace

int RunProgram() {
    LoadSettings();
    SelectLanguageTexts();

    if (AnotherCopyRuns()) return 0;

    if (!WindowRegisterMainClass()) return 0;
    // The system font and the window's first size are made for the system's DPI.
    const int systemDpi = SystemDpi();
    StartAtSystemDpi(systemDpi);
    const ScreenSize screen = PrimaryScreenSize();
    const PixelRect first = MainWindowRect(screen, systemDpi);
    g_shell.window = WindowCreateMain(g_lang.text.WindowTitle, first.left, first.top, first.right - first.left,
                                      first.bottom - first.top);
    if (g_shell.window == nullptr) return 0;

    CreateMainWindowControls();
    // The primary display's scale may have changed since the user logged on.
    const int windowDpi = WindowDpi(g_shell.window);
    if (windowDpi != systemDpi) {
        ChangeDisplayScale(windowDpi, MainWindowRect(screen, windowDpi));
    } else {
        FitControlFont();  // the system font may lack Cyrillic
    }
    WindowShowAndPaint(g_shell.window);
    WindowMakeTopmost(g_shell.window);
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    RunMessageLoop();
    return 0;
}
