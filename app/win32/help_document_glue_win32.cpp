#include <windows.h>
#include <shellapi.h>

#include "app/help_document_glue.h"
#include "app/wide_text_glue.h"

static_assert(kShowRestore == SW_RESTORE, "show command");
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16");

std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char16_t* file, int showCommand) {
    return reinterpret_cast<std::intptr_t>(ShellExecuteW(static_cast<HWND>(owner), WideText(verb).c_str(),
                                                         reinterpret_cast<const wchar_t*>(file), nullptr, nullptr,
                                                         showCommand));
}

// Long enough for any path the system allows (32767 characters and the terminating zero).
std::u16string ProgramPath() {
    std::u16string path(32768, u'\0');
    const DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(&path[0]), 32768);
    path.resize(length < 32768 ? length : 0);
    return path;
}
