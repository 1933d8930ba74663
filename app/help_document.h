#pragma once

#include <cstdint>

#include "app/handles.h"

// Help menu "Help": opens the PDF help document with the system's viewer.

// Relative to the working directory, as the installation lays it out.
constexpr const char* kHelpDocumentPath = "help\\MivorZentak-6 ver_1_01.pdf";
constexpr int kShowRestore = 9;  // the viewer's window is shown restored

// Opens the document and reports each way it can fail with its own message boxes.
void OpenHelpDocument();

// Platform side (app/help_document_win32.cpp): asks the shell to apply a verb
// to a file. Above 32 the shell succeeded; otherwise the result is its error number.
std::intptr_t ShellOpenFile(WindowHandle owner, const char* verb, const char* file, int showCommand);
