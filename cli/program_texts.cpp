// The window program's texts, kept here as UTF-8 for the console: the window build stores the Russian
// ones as Windows-1251 bytes for the ANSI API, from the same source.
#include "app/text/texts_en.cpp"
#include "app/text/texts_ru.cpp"
