#include "tests/unit/fakes/fake_shell.h"

#include "app/about_box.h"
#include "app/help_document.h"

FakeShell g_fakeShell;

void RunAboutDialog(WindowHandle owner, int templateId) { g_fakeShell.aboutDialogs.push_back({owner, templateId}); }

std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char* file, int showCommand) {
    g_fakeShell.opens.push_back({owner, verb, file, showCommand});
    return g_fakeShell.openResult;
}
