#include "app/about_box.h"

#include "app/about_box_glue.h"
#include "app/main_window.h"
#include "app/texts.h"

void ShowAboutBox() {
    // The template is picked at each opening, so a language switch takes effect at once.
    ++g_main.boxesUp;
    if (g_lang.current == kLanguageRussian) {
        RunAboutDialog(g_main.window, kAboutTemplateRussian);
    } else if (g_lang.current == kLanguageEnglish) {
        RunAboutDialog(g_main.window, kAboutTemplateEnglish);
    }
    --g_main.boxesUp;
}

int AboutDialogEndResult(int id) { return id == kIdOk || id == kIdCancel ? id : 0; }
