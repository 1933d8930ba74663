#pragma once

#include <string>

// UTF-8 paths of the portable code as Windows takes them, and back (installer/win32/utf16_path_win32.cpp).
std::wstring WidePath(const std::string& path);
std::string NarrowPath(const std::wstring& path);
