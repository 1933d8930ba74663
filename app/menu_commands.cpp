#include "app/menu_commands.h"

#include "app/about_box.h"
#include "app/help_document.h"
#include "app/language_switch.h"
#include "app/main_window.h"
#include "app/startup_glue.h"
#include "base/language_id.h"
#include "protocol/control_ids.h"

void OnMenuCommand(int id) {
    switch (id) {
        case kIdQuit:
            WindowSendClose(g_shell.window);
            break;
        case kIdRussian:
            SwitchLanguage(kLanguageRussian);
            break;
        case kIdEnglish:
            SwitchLanguage(kLanguageEnglish);
            break;
        case kIdHelp:
            OpenHelpDocument();
            break;
        case kIdAbout:
            ShowAboutBox();
            break;
        default:
            break;
    }
}
