#include <windows.h>
#include <shellapi.h>

#include "app/help_document_glue.h"

static_assert(kShowRestore == SW_RESTORE, "show command");

std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char* file, int showCommand) {
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteA(static_cast<HWND>(owner), verb, file, nullptr, nullptr, showCommand));
}
