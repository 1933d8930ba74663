#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_system_glue.h"
#include "cli/port_access.h"
#include "cli/result_code.h"
#include "serial/tty_ports.h"

// What mz6 needs of the system beyond the serial port itself:
// cli/win32/system_glue_win32.cpp on Windows, cli/posix/system_glue_posix.cpp on Linux; what it asks of files is
// base/file_system_glue.h. No fake: tests/cli runs mz6 against simulated readers and a stand-in system root.

struct SystemPort {
    std::string name;               // as the system names it: "COM4", "/dev/ttyUSB0"
    bool usbReader = false;         // its USB identifiers are the USB reader's
    std::string usbSerial;          // the USB device's serial number (Windows: its instance), "" when none is given
    TtySkip skip = TtySkip::kNone;  // why find, --all and watch leave it out (Linux); --port still reaches it
};

// The arguments after the program's name, in UTF-8. On Windows they are read as UTF-16, so that any file
// name arrives as it was given and no code page maps one name (or a full-width hyphen) into another; one
// that has no UTF-8 form (a lone surrogate) is never turned into another name: its position, from 1, is
// put in `unreadable` (0 when every one was read).
std::vector<std::string> ProgramArguments(int argc, char** argv, int* unreadable);

// Every serial port: on Windows the system's port table, in numeric order; on
// Linux the serial ttys that sysfs lists, those to leave out among them.
std::vector<SystemPort> ListSystemPorts();

// The port can be asked for: on Linux its /dev node (through links) is a character device, as it is only a
// moment after sysfs lists the port and until a moment before sysfs drops it; on Windows a listed port is.
bool PortNodePresent(const std::string& name);

// The folder that stands in for "/" where ListSystemPorts looks (MZ6_SYSTEM_ROOT on Linux, for tests and the
// demo); "" for the system's own, and always on Windows.
std::string SystemRoot();

// Port names are the same in any case (COM4 is com4: Windows).
extern const bool kPortNamesIgnoreCase;

// The character devices that a shell pattern ("/dev/serial/by-id/*Zentak*") names, sorted, through links;
// none where the system lists its ports only in its port table (Windows).
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

// Why a port could not be opened, by the system's error number: kNotFound, kBusy, kPermissionDenied,
// kNotASerialPort, or kOpenFailed for any other.
Outcome OpenFailureOf(std::int32_t error);

// The node of a port the user may not open, and the user's groups: where a group would let the user in.
// Nothing known on Windows, where a port refused is one held by another program.
PortAccess LookAtPortAccess(const std::string& port);
