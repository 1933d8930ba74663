// What start-up and the language switch ask of the window's contents (app/main_window.h).
#include "app/main_window.h"

#include "app/menu_bar.h"
#include "app/text/texts.h"
#include "ui/control_glue.h"
#include "ui/display_scale.h"
#include "ui/layout.h"
#include "ui/tab_pages.h"
#include "ui/window_ops_glue.h"
#include "ui/window_state.h"

WindowState g_window;

void StartAtSystemDpi(int dpi) {
    g_window.scale.dpi = g_window.scale.fontDpi = dpi;
    g_window.scale.systemCharset = SystemFontCharset();
}

void CreateMainWindowControls() {
    BuildMenuBar();
    CreateControls(kSlotPortList, kSlotVersionField);
    CreateTabControl();
    CreateControls(kSlotGroupInterfaces, kSlotRadio34);
    ShowPageOfReaderModel();
    CreateControls(kSlotRead, kSlotLampFrame);
}

void ChangeDisplayScale(int dpi, const PixelRect& suggested) {
    g_window.scale.dpi = dpi;
    WindowSetRect(g_shell.window, suggested);
    PlaceMainWindowControls();
    FitControlFont();
    WindowInvalidate(g_shell.window, {0, 0, Scaled(kMainWindowWidth), Scaled(kMainWindowHeight)}, true);
}

void RetextMainWindow() {
    WindowSetText(g_shell.window, g_lang.text.WindowTitle);
    // Controls of both pages, shown or hidden, in creation order.
    for (int slot = 0; slot < kControlCount; ++slot) {
        if (kControlTable[slot].slotText != nullptr)
            WindowSetText(g_window.control[slot], ControlText(kControlTable[slot]));
    }
}
