#include <windows.h>

#include "base/utf16_glue.h"

namespace {

// MB_ERR_INVALID_CHARS and WC_ERR_INVALID_CHARS make the call fail rather than put U+FFFD in.
bool ToUtf16(const std::string& utf8, DWORD flags, std::wstring* utf16) {
    const int length = static_cast<int>(utf8.size());
    utf16->clear();
    if (length == 0) return true;
    const int size = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, nullptr, 0);
    if (size <= 0) return false;
    utf16->resize(static_cast<std::size_t>(size));
    return MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, &(*utf16)[0], size) == size;
}

bool ToUtf8(const wchar_t* utf16, int length, DWORD flags, std::string* utf8) {
    utf8->clear();
    if (length == 0 || (length < 0 && *utf16 == L'\0')) return true;
    const int size = WideCharToMultiByte(CP_UTF8, flags, utf16, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    utf8->resize(static_cast<std::size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, flags, utf16, length, &(*utf8)[0], size, nullptr, nullptr) != size) return false;
    if (length < 0) utf8->pop_back();  // the converted terminating zero
    return true;
}

}  // namespace

bool NameUtf16(const std::string& utf8, std::wstring* utf16) { return ToUtf16(utf8, MB_ERR_INVALID_CHARS, utf16); }

bool NameUtf8(const wchar_t* utf16, int length, std::string* utf8) {
    return ToUtf8(utf16, length, WC_ERR_INVALID_CHARS, utf8);
}

std::wstring Utf16Of(const std::string& utf8) {
    std::wstring utf16;
    ToUtf16(utf8, 0, &utf16);
    return utf16;
}

std::string Utf8Of(const wchar_t* utf16, int length) {
    std::string utf8;
    ToUtf8(utf16, length, 0, &utf8);
    return utf8;
}
