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
