#include "app/language_switch.h"

#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/menu_glue.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "ui/command_ids.h"
#include "ui/layout.h"
#include "ui/window_ops_glue.h"

void ApplyLanguage() {
    SelectLanguageTexts();
    WindowSetText(g_main.window, g_lang.text.WindowTitle);
    // Controls of both pages, shown or hidden, in creation order.
    for (int slot = 0; slot < kControlCount; ++slot) {
        if (kControlTable[slot].slotText != nullptr) WindowSetText(g_controls.handle[slot], ControlText(kControlTable[slot]));
    }
}

void SwitchLanguage(int language) {
    MenuSetCheck(g_menuBar.languageSubmenu, kIdRussian, language == kLanguageRussian);
    MenuSetCheck(g_menuBar.languageSubmenu, kIdEnglish, language == kLanguageEnglish);
    g_lang.current = language;
    // A failed save warns in the old language: the slots change only below.
    SaveSettings();
    ApplyLanguage();
    RebuildMenuBar();
}
