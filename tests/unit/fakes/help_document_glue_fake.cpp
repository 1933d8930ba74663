#include "app/help_document_glue.h"

// The shell opens every file; Help is seen end to end.
std::intptr_t ShellOpenFile(WindowHandle, const char*, const char*, int) { return 33; }
