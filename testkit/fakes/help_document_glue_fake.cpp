#include "app/help_document_glue.h"
#include "testkit/fakes/fakes.h"

// The program lives in C:\Program; opening the document beside it gives what the test says.
std::intptr_t ShellOpenFile(WindowHandle, const char*, const char16_t* file, int) {
    g_fakeWindow.opened.push_back(file);
    return g_fakeWindow.opened.back().rfind(u"C:\\Program\\", 0) == 0 ? g_fakeWindow.helpBesideProgram : 2;
}
std::u16string ProgramPath() { return u"C:\\Program\\program.exe"; }
