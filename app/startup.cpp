#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "ui/display_scale.h"
#include "ui/layout.h"
#include "ui/progress.h"

MainWindowState g_main;

ScreenPoint MainWindowPosition(int screenWidth, int screenHeight, int width, int height) {
    return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

int RunProgram() {
    LoadSettings();
    SelectLanguageTexts();

    // A running copy is found by its title, whatever its class.
    WindowHandle running = WindowFindTopLevel(g_lang.text.WindowTitle);
    if (running != nullptr) {
        if (WindowIsMinimized(running)) WindowRestore(running);
        WindowToForeground(running);
        return 0;
    }

    if (!WindowRegisterMainClass()) return 0;
    // The system font and the window's first size are made for the system's DPI.
    g_scale.dpi = g_scale.fontDpi = SystemDpi();
    const ScreenSize screen = PrimaryScreenSize();
    const int width = Scaled(kMainWindowWidth);
    const int height = Scaled(kMainWindowHeight);
    const ScreenPoint origin = MainWindowPosition(screen.width, screen.height, width, height);
    g_main.window = WindowCreateMain(g_lang.text.WindowTitle, origin.x, origin.y, width, height);
    if (g_main.window == nullptr) return 0;

    CreateMainWindowControls();
    // The primary display's scale may have changed since the user logged on.
    const int windowDpi = WindowDpi(g_main.window);
    if (windowDpi != g_scale.dpi) {
        const int scaledWidth = ScaleToDpi(kMainWindowWidth, windowDpi);
        const int scaledHeight = ScaleToDpi(kMainWindowHeight, windowDpi);
        const ScreenPoint at = MainWindowPosition(screen.width, screen.height, scaledWidth, scaledHeight);
        ChangeDisplayScale(windowDpi, {at.x, at.y, at.x + scaledWidth, at.y + scaledHeight});
    }
    WindowShowAndPaint(g_main.window);
    WindowMakeTopmost(g_main.window);
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    RunMessageLoop();
    return 0;
}
