#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "ui/layout.h"
#include "ui/progress.h"

MainWindowState g_main;

ScreenPoint MainWindowPosition(int screenWidth, int screenHeight) {
    return {screenWidth / 2 - kMainWindowWidth / 2, screenHeight / 2 - kMainWindowHeight / 2};
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
    ScreenSize screen = PrimaryScreenSize();
    ScreenPoint origin = MainWindowPosition(screen.width, screen.height);
    g_main.window =
        WindowCreateMain(g_lang.text.WindowTitle, origin.x, origin.y, kMainWindowWidth, kMainWindowHeight);
    if (g_main.window == nullptr) return 0;

    CreateMainWindowControls();
    WindowShowAndPaint(g_main.window);
    WindowMakeTopmost(g_main.window);
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    RunMessageLoop();
    return 0;
}
