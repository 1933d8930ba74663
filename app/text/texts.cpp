#include "app/text/texts.h"

LanguageState g_lang;

void SelectLanguageTexts() { g_lang.text = (g_lang.current == kLanguageEnglish) ? kEnglishTexts : kRussianTexts; }
