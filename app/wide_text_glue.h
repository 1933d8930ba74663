#pragma once

#include <string>

// The program's texts on their way to and from the W calls (app/win32/wide_text_glue_win32.cpp). The
// text tables hold Russian as Windows-1251 bytes; Windows gets UTF-16, whatever its own code page.
// No fake: only Windows glue calls it; the e2e suite reads the window's texts under Wine (locale_test).

std::wstring WideText(const char* text);      // 1251 bytes as UTF-16
std::string NarrowText(const wchar_t* text);  // UTF-16 back to 1251 bytes, for the program's own texts
