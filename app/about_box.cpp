#include "app/about_box.h"

#include "app/main_window.h"
#include "app/texts.h"

void ShowAboutBox() {
    // The template is picked at each opening, so a language switch takes effect at once.
    if (g_lang.current == kLanguageRussian) {
        RunAboutDialog(g_main.window, kAboutTemplateRussian);
    } else if (g_lang.current == kLanguageEnglish) {
        RunAboutDialog(g_main.window, kAboutTemplateEnglish);
    }
}

AboutDialogAction DecideAboutDialogMessage(unsigned message, MessageWParam wParam) {
    if (message == kWmInitDialog) return {true, 0};  // focus goes to OK, the only tab stop
    if (message != kWmCommand) return {false, 0};
    const int id = static_cast<int>(wParam & 0xFFFFu);  // the high word is the notification code
    if (id == kIdOk || id == kIdCancel) return {true, id};
    return {true, 0};
}
