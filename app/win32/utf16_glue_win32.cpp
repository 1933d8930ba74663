#include <windows.h>

#include "app/utf16_glue.h"

std::wstring Utf16Of(const std::string& utf8) {
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, &wide[0], size);
    return wide;
}

std::string Utf8Of(const wchar_t* utf16, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, utf16, length, &narrow[0], size, nullptr, nullptr);
    if (length < 0 && !narrow.empty()) narrow.pop_back();  // the converted terminating zero
    return narrow;
}
