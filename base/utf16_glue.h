#pragma once

#include <string>

// UTF-8, the program's own, to and from the UTF-16 of the W calls (base/win32/utf16_glue_win32.cpp): every
// program's file-system glue, and mz6.exe's and folder-lock.exe's own calls. Never through the ANSI code page: its best-fit mapping turns one name into another ("ｐｒｏｆｉｌｅ" into
// "profile", a full-width hyphen into "-") and cannot hold most names at all.
// No fake: only Windows glue calls it; the e2e suite gives mz6.exe such names under Wine (mz6_test).

// A name (a path, an argument): false, with ERROR_NO_UNICODE_TRANSLATION, where it holds a sequence that is not
// UTF-8 or a lone surrogate. Replaced by U+FFFD it would name another file than the one checked.
bool NameUtf16(const std::string& utf8, std::wstring* utf16);
bool NameUtf8(const wchar_t* utf16, int length, std::string* utf8);  // length -1: up to its terminating zero

// A text only shown (the console, the system's error texts): such a sequence shows as U+FFFD.
std::wstring Utf16Of(const std::string& utf8);
std::string Utf8Of(const wchar_t* utf16, int length);
