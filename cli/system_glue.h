#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/result_code.h"

// What mz6 needs of the system beyond the serial port itself:
// cli/win32/system_glue_win32.cpp on Windows, cli/posix/system_glue_posix.cpp on Linux.

struct SystemPort {
    std::string name;        // as the system names it: "COM4", "/dev/ttyUSB0"
    bool usbReader = false;  // its USB identifiers are the USB reader's
    std::string usbSerial;   // the USB device's serial number (Windows: its instance), "" when none is given
};

// The arguments after the program's name, in UTF-8. On Windows they are read as UTF-16, so that any file
// name arrives as it was given and no code page maps one name (or a full-width hyphen) into another.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// std::fopen of a UTF-8 name; on Windows the file is opened by its UTF-16 name.
std::FILE* OpenNamedFile(const std::string& name, const char* mode);

// Every serial port: on Windows the system's port table, in numeric order; on
// Linux the ttys that sysfs ties to hardware.
std::vector<SystemPort> ListSystemPorts();

// Port names are the same in any case (COM4 is com4: Windows).
extern const bool kPortNamesIgnoreCase;

// The paths that a shell pattern ("/dev/serial/by-id/*Zentak*") names, sorted, without links that lead
// nowhere; none where the system lists its ports only in its port table (Windows).
std::vector<std::string> PathsMatching(const std::string& pattern);

// Waits `ms` milliseconds, or less when a signal comes (see FinishWorkWhenInterrupted).
void Pause(int ms);

// The user's interface language is Russian (the UI language on Windows, the
// locale variables on Linux).
bool UserPrefersRussian();

// The console's output in its own terms (UTF-16 on Windows), Ctrl+C releasing the ports, and a closed
// output pipe an error of the write (EPIPE) rather than the end of the program. On Windows Ctrl+C, closing
// the console and the end of the session (log-off, shut-down) are taken as FinishWorkWhenInterrupted says
// from here on, for every command.
void PrepareConsole();

// From now on Ctrl+C, SIGTERM and SIGHUP (on Windows Ctrl+C, Ctrl+Break and closing the console) only
// set InterruptSignal(): the command finishes the exchanges in hand, starts no other, and reports.
void FinishWorkWhenInterrupted();

// A write and its read-back are under way on one more port (or done on one): while any is, Windows' log-off
// or shut-down screen names it as what the program is finishing.
void MarkWriteInHand(bool inHand, bool usbReader);

// The signal that ended the work, as its POSIX number (SIGINT 2, SIGHUP 1, SIGTERM 15); 0 while none has.
int InterruptSignal();

// Standard error is a terminal (not a pipe or a file).
bool ErrorOutputIsTerminal();

// What tells one port from another whatever it is called by: the name in
// upper case on Windows ("com4" is COM4), the path with its links resolved
// on Linux (a /dev/serial/by-id link is its tty).
std::string PortIdentity(const std::string& name);

// The system's own words for an error number of its serial or file calls.
std::string SystemErrorText(std::int32_t error);

// Puts the file `from` in the place of `to` (same folder) in one step, its
// content on disk first (where a write the disk could not keep shows up at
// the latest), so that `to` is always either the old file or the new one;
// false with the system's reason when it cannot.
bool MoveFileOver(const std::string& from, const std::string& to, std::string* reason);

// Why a port could not be opened, by the system's error number: kNotFound, kBusy, kPermissionDenied,
// kNotASerialPort, or kOpenFailed for any other.
Outcome OpenFailureOf(std::int32_t error);
