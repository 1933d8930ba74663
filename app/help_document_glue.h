#pragma once

#include <cstdint>
#include <string>

#include "app/handles.h"

// The platform's shell (app/win32/help_document_glue_win32.cpp): applies a verb to a
// file. Above 32 the shell succeeded; otherwise the result is its error number.
constexpr int kShowRestore = 9;  // the viewer's window is shown restored
std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char16_t* file, int showCommand);
// The full path of the program's own file, as the system names it; "" when it cannot tell.
std::u16string ProgramPath();
