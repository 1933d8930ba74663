#pragma once

// The message kind is the resource number of the icon shown in the box.
enum MessageKind : unsigned {
    kMsgSuccess = 3,
    kMsgWarning = 4,
    kMsgError = 5,
    kMsgHint = 6,
    kMsgNoResponse = 7,
};

// The usual way to report: owned by the main window, caption "Message" of the
// current language, plain OK style.
void ReportMessage(const char* text, unsigned kind);

// A serial read or write error: "Error [n] <what>" with the system's error icon.
void ReportSerialError(int error, const char* what);

// Enables the main window at the end of an operation, unless one of its boxes
// or dialogs is still up: that one has it disabled, and gives it back when it
// closes. An operation that ends in the box's message loop (a reader plugged
// in while the About box is open) would otherwise let the user act behind it.
void EnableMainWindow();
