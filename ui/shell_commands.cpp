#include "ui/shell_commands.h"

#include "app/main_window.h"
#include "app/menu_glue.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "protocol/control_ids.h"
#include "serial/port_view.h"
#include "ui/display_scale.h"

void OnShellMenu(int x, int y) {
    MenuHandle menu = MenuCreatePopup();
    MenuAppendItem(menu, kIdQuit, g_lang.text.MenuQuit);
    MenuTrackAtClientPoint(menu, g_shell.window, x, y);
    MenuDestroy(menu);
}

void OnWindowGone() {
    for (int timer : {int{kOpSearch}, int{kOpRead}, int{kOpWrite}, kTimerPortWatch}) StopTimer(timer);
    Disconnect();
    ReleaseControlFont();
    PostQuit();
}
