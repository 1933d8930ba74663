#include <windows.h>

#include "base/utf16_glue.h"
#include "installer/folder_glue.h"

namespace {

ItemKind KindOf(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ItemKind::kLink;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ItemKind::kFolder : ItemKind::kFile;
}

}  // namespace

// A name with a lone surrogate has no UTF-8 form: listed as unreadable, it is nobody's file of ours.
bool ListFolder(const std::string& path, std::vector<FoundItem>* items) {
    items->clear();
    std::wstring pattern;
    if (!NameUtf16(path + "\\*", &pattern)) return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;  // a folder lists "." at least
    do {
        const std::wstring name = found.cFileName;
        std::string utf8;
        if (name == L"." || name == L"..") continue;
        const ItemKind kind = KindOf(found.dwFileAttributes);
        if (NameUtf8(name.c_str(), static_cast<int>(name.size()), &utf8)) {
            items->push_back({utf8, kind});
        } else {
            items->push_back({Utf8Of(name.c_str(), static_cast<int>(name.size())), ItemKind::kUnreadable, false});
        }
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}

bool DeleteItem(const std::string& path, bool folder) {
    std::wstring wide;
    if (!NameUtf16(path, &wide)) return false;
    return folder ? RemoveDirectoryW(wide.c_str()) != 0 : DeleteFileW(wide.c_str()) != 0;
}

// No copy, no replacing: within one folder a rename is one change of its entry, which either happens or not.
bool RenameItem(const std::string& path, const std::string& to) {
    std::wstring wide, wideTo;
    return NameUtf16(path, &wide) && NameUtf16(to, &wideTo) && MoveFileExW(wide.c_str(), wideTo.c_str(), 0) != 0;
}

bool CanReplace(const std::string& path) {
    std::wstring wide;
    const HANDLE file = NameUtf16(path, &wide) ? CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr)
                                               : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void ClearReadOnly(const std::string& path) {
    std::wstring wide;
    const DWORD attributes = NameUtf16(path, &wide) ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

std::string FullPathOf(const std::string& path) {
    std::wstring wide;
    if (!NameUtf16(path, &wide)) return std::string();
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    std::string utf8;
    if (length == 0 || length >= size || !NameUtf8(full.c_str(), static_cast<int>(length), &utf8)) return std::string();
    return utf8;
}

bool IsFixedDrive(const std::string& root) {
    std::wstring wide;
    return NameUtf16(root, &wide) && GetDriveTypeW(wide.c_str()) == DRIVE_FIXED;
}
