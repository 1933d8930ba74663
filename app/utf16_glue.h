#pragma once

#include <string>

// UTF-8, the program's own, to and from the UTF-16 of the W calls (app/win32/utf16_glue_win32.cpp; mz6.exe and folder-lock.exe). Never
// through the ANSI code page: its best-fit mapping turns one name into another ("ｐｒｏｆｉｌｅ" into
// "profile", a full-width hyphen into "-") and cannot hold most names at all.

std::wstring Utf16Of(const std::string& utf8);
std::string Utf8Of(const wchar_t* utf16, int length);  // length -1: up to its terminating zero
