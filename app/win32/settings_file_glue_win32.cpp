#include <windows.h>

#include "app/settings_file_access.h"
#include "app/settings_file_glue.h"
#include "app/wide_text_glue.h"

// FILE_FLAG_OPEN_REPARSE_POINT opens a link or junction itself, so that it is seen and never followed.
FoundFile OpenSettingsFile(const char* name, bool forUpdate, SettingsFileHandle* handle) {
    // Only what the calls below need (app/settings_file_access.h): an installed appconfig.ini lets Users write its
    // data and nothing more.
    const HANDLE file =
        CreateFileW(WideText(name).c_str(), SettingsFileAccess(forUpdate), FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FoundFile::kMissing
                                                                              : FoundFile::kFailed;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    const FoundFile found =
        !known ? FoundFile::kFailed
        : (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || information.nNumberOfLinks != 1
            ? FoundFile::kLink
        : (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || GetFileType(file) != FILE_TYPE_DISK
            ? FoundFile::kNotPlain
            : FoundFile::kPlain;
    if (found != FoundFile::kPlain) {
        CloseHandle(file);
        return found;
    }
    *handle = file;
    return found;
}

std::string ReadSettingsFileStart(SettingsFileHandle handle, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    DWORD count = 0;
    while (got < limit && ReadFile(handle, &bytes[got], static_cast<DWORD>(limit - got), &count, nullptr) &&
           count > 0) {
        got += count;
    }
    bytes.resize(got);
    return bytes;
}

bool WriteSettingsFileStart(SettingsFileHandle handle, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
           written == bytes.size();
}

bool CloseSettingsFile(SettingsFileHandle handle) {
    const bool flushed = FlushFileBuffers(handle) != 0;
    return CloseHandle(handle) != 0 && flushed;
}

// CREATE_NEW fails on any name that is there, a link that leads nowhere included.
bool CreateSettingsFile(const char* name, const std::string& bytes) {
    const HANDLE file = CreateFileW(WideText(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteSettingsFileStart(file, bytes);
    return CloseHandle(file) != 0 && written;
}
