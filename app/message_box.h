#pragma once

#include "app/handles.h"

// The message kind is the resource number of the icon shown in the box.
enum MessageKind : unsigned {
    kMsgSuccess = 3,
    kMsgWarning = 4,
    kMsgError = 5,
    kMsgHint = 6,
    kMsgNoResponse = 7,
};

// A modal box with the OK button and the program's own icon of the given kind
// (style gets MB_USERICON added). Returns what the system returned.
int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style, unsigned kind);

// A modal box with the OK button and one of the system's own icons.
constexpr unsigned kStyleIconError = 0x10;  // the system's error icon
int ShowSystemMessage(WindowHandle owner, const char* text, const char* caption, unsigned style);

// The usual way to report: owned by the main window, caption "Message" of the
// current language, plain OK style.
void ReportMessage(const char* text, unsigned kind);
