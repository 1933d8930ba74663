#pragma once

// Stand-ins for app/about_box_win32.cpp and app/help_document_win32.cpp: they
// record the About dialogs run and the files handed to the shell, and give the
// shell's result that a test scripts.

#include <cstdint>
#include <string>
#include <vector>

#include "app/handles.h"

struct FakeAboutDialog {
    WindowHandle owner;
    int templateId;
};

struct FakeShellOpen {
    WindowHandle owner;
    std::string verb;
    std::string file;
    int showCommand;
};

struct FakeShell {
    std::intptr_t openResult = 42;  // what the shell answers; above 32 is success
    std::vector<FakeShellOpen> opens;
    std::vector<FakeAboutDialog> aboutDialogs;
};

extern FakeShell g_fakeShell;
