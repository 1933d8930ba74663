#pragma once

#include <cstdint>

#include "app/handles.h"

// The platform's shell (app/help_document_glue_win32.cpp): applies a verb to a
// file. Above 32 the shell succeeded; otherwise the result is its error number.
constexpr int kShowRestore = 9;  // the viewer's window is shown restored
std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char* file, int showCommand);
