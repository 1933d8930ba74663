// Stands in for a system program (icacls.exe) in the test prefix: appends its command line, one UTF-8
// line a call, to C:\recorded-calls.txt and succeeds, so a scenario can see what the installer asked of it.
#include <windows.h>

#include <cstdio>

int main() {
    char line[4096];
    const int length = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof(line), nullptr, nullptr);
    FILE* log = std::fopen("C:\\recorded-calls.txt", "ab");
    if (log == nullptr || length == 0) return 1;
    std::fprintf(log, "%s\n", line);
    std::fclose(log);
    return 0;
}
