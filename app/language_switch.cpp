#include "app/language_switch.h"

#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/menu_glue.h"
#include "app/settings_file.h"
#include "app/text/texts.h"
#include "protocol/control_ids.h"

void ApplyLanguage() {
    SelectLanguageTexts();
    RetextMainWindow();
}

void SwitchLanguage(int language) {
    MenuSetCheck(g_shell.languageSubmenu, kIdRussian, language == kLanguageRussian);
    MenuSetCheck(g_shell.languageSubmenu, kIdEnglish, language == kLanguageEnglish);
    g_lang.current = language;
    // A failed save warns in the old language: the slots change only below.
    SaveSettings();
    ApplyLanguage();
    RebuildMenuBar();
}
