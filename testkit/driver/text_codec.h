#pragma once

#include <windows.h>

#include <string>

// Texts cross the pipe as hex of their Windows-1251 bytes, so the tests compare the exact bytes
// the program passed to the ANSI API whatever the driver's own code page is.

inline std::string To1251(const wchar_t* text, int length) {
    int size = WideCharToMultiByte(1251, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(1251, 0, text, length, bytes.data(), size, nullptr, nullptr);
    if (length < 0 && !bytes.empty()) bytes.pop_back();  // the converted terminating zero
    return bytes;
}

inline std::wstring From1251(const std::string& bytes) {
    int size = MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

inline std::string HexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char value : bytes) {
        hex += digits[value >> 4];
        hex += digits[value & 15];
    }
    return hex;
}
