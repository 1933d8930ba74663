#include <windows.h>

#include "app/utf16_glue.h"
#include "installer/folder_glue.h"

namespace {

ItemKind KindOf(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ItemKind::kLink;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ItemKind::kFolder : ItemKind::kFile;
}

}  // namespace

// The attributes of the item itself: a reparse point's own, never its target's.
ItemKind ReadItemKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Utf16Of(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return KindOf(attributes);
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ItemKind::kMissing : ItemKind::kUnreadable;
}

bool ListFolder(const std::string& path, std::vector<FoundItem>* items) {
    items->clear();
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(Utf16Of(path + "\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;  // a folder lists "." at least
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            items->push_back({Utf8Of(name.c_str(), static_cast<int>(name.size())), KindOf(found.dwFileAttributes)});
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}

bool DeleteItem(const std::string& path, bool folder) {
    const std::wstring wide = Utf16Of(path);
    return folder ? RemoveDirectoryW(wide.c_str()) != 0 : DeleteFileW(wide.c_str()) != 0;
}

bool CanReplace(const std::string& path) {
    const HANDLE file = CreateFileW(Utf16Of(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void ClearReadOnly(const std::string& path) {
    const std::wstring wide = Utf16Of(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}
