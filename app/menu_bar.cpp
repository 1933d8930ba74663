#include "app/menu_bar.h"

#include "app/main_window.h"
#include "app/menu_glue.h"
#include "app/text/texts.h"
#include "protocol/control_ids.h"

void BuildMenuBar() {
    const TextSlots& text = g_lang.text;
    MenuHandle bar = MenuCreateBar();
    MenuHandle file = MenuCreatePopup();
    MenuHandle tools = MenuCreatePopup();
    MenuHandle help = MenuCreatePopup();
    MenuHandle language = MenuCreatePopup();
    g_shell.languageSubmenu = language;

    MenuAppendItem(file, kIdQuit, text.MenuQuit);

    MenuAppendItem(language, kIdRussian, kRussianLanguageItem);
    MenuAppendItem(language, kIdEnglish, kEnglishLanguageItem);
    if (g_lang.current == kLanguageRussian) MenuSetCheck(language, kIdRussian, true);
    if (g_lang.current == kLanguageEnglish) MenuSetCheck(language, kIdEnglish, true);
    MenuAppendSubmenu(tools, language, text.MenuLanguage);

    MenuAppendItem(help, kIdHelp, text.MenuHelpItem);
    MenuAppendSeparator(help);
    MenuAppendItem(help, kIdAbout, text.MenuAbout);

    MenuAppendSubmenu(bar, file, text.MenuFile);
    MenuAppendSubmenu(bar, tools, text.MenuTools);
    MenuAppendSubmenu(bar, help, text.MenuHelp);
    MenuAttach(g_shell.window, bar);
}

void RebuildMenuBar() {
    MenuDestroyAttached(g_shell.window);
    BuildMenuBar();
}
