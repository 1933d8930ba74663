#include "app/about_box.h"

#include "app/about_box_glue.h"
#include "app/main_window.h"
#include "app/text/texts.h"

void ShowAboutBox() {
    // The template is picked at each opening, so a language switch takes effect at once.
    ++g_shell.boxesUp;
    if (g_lang.current == kLanguageRussian) {
        RunAboutDialog(g_shell.window, kAboutTemplateRussian);
    } else if (g_lang.current == kLanguageEnglish) {
        RunAboutDialog(g_shell.window, kAboutTemplateEnglish);
    }
    --g_shell.boxesUp;
}

int AboutDialogEndResult(int id) { return id == kIdOk || id == kIdCancel ? id : 0; }
