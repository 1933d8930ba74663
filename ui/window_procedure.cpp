#include "ui/window_procedure.h"

#include "app/language_switch.h"
#include "app/main_window.h"
#include "app/shell_glue.h"
#include "app/texts.h"
#include "ui/command_ids.h"

namespace {

void HandleCommand(int id) {
    switch (id) {
        case kIdQuit:
            WindowSendClose(g_main.window);
            break;
        case kIdRussian:
            SwitchLanguage(kLanguageRussian);
            break;
        case kIdEnglish:
            SwitchLanguage(kLanguageEnglish);
            break;
        default:
            break;
    }
}

}  // namespace

void HandleMainWindowMessage(unsigned message, MessageWParam wParam, MessageLParam /*lParam*/) {
    switch (message) {
        case kWmCommand:
            HandleCommand(static_cast<int>(wParam & 0xFFFFu));
            break;
        case kWmDestroy:
            PostQuit();
            break;
        default:
            break;
    }
}
