#pragma once

#include <cstddef>
#include <string>

// The settings file's calls of the platform: app/win32/settings_file_glue_win32.cpp on Windows,
// app/posix/settings_file_glue_posix.cpp where the host tests run. A name is never followed through a
// link: what is found is opened as it is and told for what it is.

using SettingsFileHandle = void*;

enum class FoundFile {
    kPlain,     // a regular file with this one name, opened
    kMissing,   // nothing by that name
    kLink,      // a symbolic link, junction or other reparse point, or a file with more names than this one
    kNotPlain,  // a folder, device or pipe
    kFailed,    // something is there that could not be opened (no right, in use)
};

// Opens `name` for reading, or for reading and writing; *handle is set only for kPlain.
FoundFile OpenSettingsFile(const char* name, bool forUpdate, SettingsFileHandle* handle);
// At most `limit` bytes from its start.
std::string ReadSettingsFileStart(SettingsFileHandle handle, std::size_t limit);
// `bytes` over its start, the rest of it left as it is; false when not all went in.
bool WriteSettingsFileStart(SettingsFileHandle handle, const std::string& bytes);
// False when what was written could not be kept (a full disk shows at the latest here).
bool CloseSettingsFile(SettingsFileHandle handle);
// Creates `name` holding `bytes`; false, with nothing replaced, when anything (a dangling link too) has it.
bool CreateSettingsFile(const char* name, const std::string& bytes);
