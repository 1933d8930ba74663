#include "app/help_document_glue.h"
#include "tests/unit/fakes/fakes.h"

// The program lives in C:\Program; the document is found where the test put it, and opens there.
std::intptr_t ShellOpenFile(WindowHandle, const char*, const char16_t* file, int) {
    g_fakeWindow.opened.push_back(file);
    const bool besideProgram = g_fakeWindow.opened.back().rfind(u"C:\\Program\\", 0) == 0;
    return (besideProgram ? g_fakeWindow.helpBesideProgram : g_fakeWindow.helpInWorkingFolder) ? 33 : 2;
}
std::u16string ProgramPath() { return u"C:\\Program\\program.exe"; }
