#include <windows.h>

#include "app/wide_text_glue.h"

// Code page 1251 always, never the system's (CP_ACP): the tables are 1251 on every Windows.
constexpr UINT kTextCodePage = 1251;

std::wstring WideText(const char* text) {
    if (text == nullptr) return std::wstring();
    const int size = MultiByteToWideChar(kTextCodePage, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    if (size > 0) MultiByteToWideChar(kTextCodePage, 0, text, -1, &wide[0], size);
    wide.resize(wide.size() - 1);  // the converted terminating zero
    return wide;
}

std::string NarrowText(const wchar_t* text) {
    const int size = WideCharToMultiByte(kTextCodePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) WideCharToMultiByte(kTextCodePage, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}
