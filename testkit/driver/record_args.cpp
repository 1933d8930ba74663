// Stands in for a system program (icacls.exe, explorer.exe) in the test prefix: appends its command line and
// the names in its working folder, tab-separated, one UTF-8 line a call, to C:\recorded-calls.txt, so a
// scenario can see what the installer asked of it and what was in place by then. It succeeds, unless its
// command line holds the text of the variable RECORD_ARGS_FAIL: then it fails, as icacls does on FAT32.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    char buffer[4096];
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length - 1)) : std::string();
}

}  // namespace

int main() {
    const wchar_t* command = GetCommandLineW();
    std::string line = Utf8(command);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(L"*", &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
            line += "\t" + Utf8(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    FILE* log = std::fopen("C:\\recorded-calls.txt", "ab");
    if (log == nullptr) return 1;
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
    wchar_t fail[512];
    const DWORD length = GetEnvironmentVariableW(L"RECORD_ARGS_FAIL", fail, 512);
    return length > 0 && length < 512 && std::wcsstr(command, fail) != nullptr ? 5 : 0;
}
