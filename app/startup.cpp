#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/single_instance.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "ui/control_glue.h"
#include "ui/display_scale.h"
#include "ui/layout.h"
#include "ui/progress.h"

MainWindowState g_main;

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
    g_scale.dpi = g_scale.fontDpi = SystemDpi();
    g_scale.systemCharset = SystemFontCharset();
    const ScreenSize screen = PrimaryScreenSize();
    const PixelRect first = MainWindowRect(screen, g_scale.dpi);
    g_main.window = WindowCreateMain(g_lang.text.WindowTitle, first.left, first.top, first.right - first.left,
                                     first.bottom - first.top);
    if (g_main.window == nullptr) return 0;

    CreateMainWindowControls();
    // The primary display's scale may have changed since the user logged on.
    const int windowDpi = WindowDpi(g_main.window);
    if (windowDpi != g_scale.dpi) {
        ChangeDisplayScale(windowDpi, MainWindowRect(screen, windowDpi));
    } else {
        FitControlFont();  // the system font may lack Cyrillic
    }
    WindowShowAndPaint(g_main.window);
    WindowMakeTopmost(g_main.window);
    StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    RunMessageLoop();
    return 0;
}
