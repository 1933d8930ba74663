#include <windows.h>

#include "base/dll_search_glue.h"

// Windows 7 SP1 without KB2533623 lacks SetDefaultDllDirectories: it is looked up, so the program
// still starts there, and the working folder is at least taken out of the search.
void LimitDllSearch() {
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    const auto limit = reinterpret_cast<SetDefaultDllDirectoriesCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (limit != nullptr && limit(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryA("");
}
