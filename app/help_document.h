#pragma once

// Help menu "Help": opens the PDF help document with the system's viewer.

// Relative to the working directory, as the installation lays it out; where the working directory has
// none, relative to the program's own folder.
constexpr const char* kHelpDocumentPath = "help\\MivorZentak-6 ver_1_01.pdf";

// Opens the document and reports each way it can fail with its own message boxes.
void OpenHelpDocument();
