// Stands in for the rights calls of folder-lock.exe in the install scenario (testkit/CMakeLists.txt): Wine keeps no
// owner or access list (a write succeeds, a read gives Wine's own default), so this keeps, for the run of one
// step, what was written, and reads anything else as a folder that only administrators can change, as a clean
// Windows shows C:\ and an earlier install. A write to a path holding the text of SECURITY_STANDIN_DROP is not
// kept, as a file system without access lists would do, so that a scenario can see the read-back stop an install;
// a path holding the text of SECURITY_STANDIN_OPEN reads as a folder that Users may change (one made unlocked).
#include <windows.h>

#include <cwchar>
#include <map>

#include "base/utf16_glue.h"
#include "installer/file_security_glue.h"
#include "installer/folder_lock.h"

namespace {

std::map<std::string, std::string> g_written;

// Whether the path holds the text of that environment variable.
bool Named(const std::string& path, const wchar_t* variable) {
    wchar_t text[512];
    const DWORD length = GetEnvironmentVariableW(variable, text, 512);
    return length > 0 && length < 512 && std::wcsstr(Utf16Of(path).c_str(), text) != nullptr;
}

void Keep(const std::string& path, const char* security) {
    if (!Named(path, L"SECURITY_STANDIN_DROP")) g_written[path] = security;
}

}  // namespace

bool ReadSecurityText(const std::string& path, std::string* text) {
    if (GetFileAttributesW(Utf16Of(path).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const auto found = g_written.find(path);
    *text = found != g_written.end()                ? found->second
            : Named(path, L"SECURITY_STANDIN_OPEN") ? "O:BAD:(A;OICI;0x1301bf;;;BU)"
                                                    : kLockedFolderSecurity;
    return true;
}

bool MakeFolderWithSecurity(const std::string& path, const char* security) {
    if (!CreateDirectoryW(Utf16Of(path).c_str(), nullptr)) return false;
    Keep(path, security);
    return true;
}

bool WriteSecurity(const std::string& path, const char* security) {
    if (GetFileAttributesW(Utf16Of(path).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    Keep(path, security);
    return true;
}
