#pragma once

#include <string>

// The one way up from the serial link, the port list and the port watch (and from the reader operations
// above them): what they ask of the window, the message boxes and the connection. The window implements it
// (ui/port_view.cpp, ui/progress.cpp), the message boxes (app/message_box.cpp) and the connection
// (protocol/connection.cpp) theirs; nothing here includes their headers.

// A message box of the program: the kind is the resource number of its icon.
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

// Operations that wait with a progress window; their ids are also the ids of
// the main window's timers.
enum Operation : int {
    kOpSearch = 1,  // 10 ms ticks, the search runs on the 100th
    kOpRead = 2,    // 500 ms ticks, the reply is collected on the 2nd
    kOpWrite = 3,
};
constexpr int kTimerPortWatch = 4;

constexpr int kSearchPeriodMs = 10;
constexpr int kReplyPeriodMs = 500;

// Shows the operation's progress window centred on the screen, disables the
// main window and starts its timer. An operation still running is ended first
// (its window destroyed, its timer stopped), so no progress window is left behind.
void StartOperationWithProgress(int operation, int periodMs);

// Ends a running read or write wait at once (timer stopped, progress window
// destroyed) and enables the main window: the connection it waits on is gone,
// so its reply must not be read.
void EndReplyWait();

// A read or write waits for its reply now.
bool ReplyAwaited();

// Enables the main window at the end of an operation, unless one of its boxes
// or dialogs is still up: that one has it disabled, and gives it back when it
// closes. An operation that ends in the box's message loop (a reader plugged
// in while the About box is open) would otherwise let the user act behind it.
void EnableMainWindow();
void DisableMainWindow();

// Whether the tab shown now is the serial-output reader's or the USB reader's.
bool SerialReaderShown();
bool UsbReaderShown();

// A timer of the main window; blocking the GUI thread for a while.
void StartTimer(int id, int periodMs);
void StopTimer(int id);
void Pause(int milliseconds);

// The drop-down list of ports (control 1).
void PortListEnable(bool enable);
int PortListCount();
std::string PortListText(int index);  // the whole entry, "" when there is none
void PortListReset();
void PortListAdd(const char* text);
void PortListAddWide(const char16_t* text);  // the list converts it to its own 8-bit code page
void PortListDelete(int index);
void PortListSelect(int index);
int PortListSelection();

// Closes the port if open, refreshes the port list, clears the connection's
// flags and puts "x.xx" back into the version field. Radio buttons and lamps
// stay as they are.
void Disconnect();
