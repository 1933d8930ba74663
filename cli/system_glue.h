#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/port_access.h"
#include "cli/result_code.h"
#include "serial/tty_ports.h"

// What mz6 needs of the system beyond the serial port itself:
// cli/win32/system_glue_win32.cpp on Windows, cli/posix/system_glue_posix.cpp on Linux.

// What a path names. kLink is a symbolic link; the kinds from kFolder on are never replaced by a save.
enum class PathKind { kMissing, kFile, kLink, kFolder, kDevice, kFifo, kSocket };

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

// A file opened for appending to it, by its UTF-8 name, and what was opened, as that handle shows it (not as
// the name shows it again). A last link is not followed (O_NOFOLLOW; FILE_FLAG_OPEN_REPARSE_POINT): a link is
// told as kLink, with no file and the file closed again.
struct OpenedFile {
    std::FILE* file = nullptr;
    PathKind kind = PathKind::kMissing;
    std::int32_t error = 0;  // the system's number where it could not be opened
};
OpenedFile OpenForAppending(const std::string& name);

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

// The characters that end a folder's name in a path: "/" on Linux, also "\\" on Windows.
extern const char* const kPathSeparators;

struct PathFacts {
    PathKind kind = PathKind::kMissing;     // the path itself, a last link not followed
    PathKind leadsTo = PathKind::kMissing;  // a link: what it ends at, every link followed (kMissing: nothing yet)
    std::string linkText;                   // a link: the path it holds
    std::int32_t error = 0;                 // the system's number where the path cannot be looked at
    std::uint64_t volume = 0, index = 0;    // which file it is (device and inode; volume and file index), 0 0: none
};

PathFacts LookAtPath(const std::string& path);

// A file being written to take the place of another.
struct NewFile {
    std::intptr_t handle = -1;
    std::string path;
};

// A new empty file in `folder`, created exclusively under a name no one can guess (a link planted there is
// never written through); false with the system's error number when the folder cannot take it.
bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error);

// The step at which PutNewFileInPlace failed.
enum class PutStep { kWrite, kOwner, kPlace };

// Writes `content` into `file`, on disk (where a write the disk could not keep shows up at the latest), gives
// it the owner, group and mode of the file at `path` (a new file's where there is none yet), and then puts it
// in the place of `path`, in the same folder, in one step (its folder synced after): `path` is always either
// the old file or the new one. The file moved is the one written (on Windows renamed through its handle, not
// looked up by its name again). On failure the new file is removed, with the step and the system's error number.
bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error);

// Closes and removes a new file that is not to be used.
void DiscardNewFile(NewFile* file);

// Why a port could not be opened, by the system's error number: kNotFound, kBusy, kPermissionDenied,
// kNotASerialPort, or kOpenFailed for any other.
Outcome OpenFailureOf(std::int32_t error);

// The node of a port the user may not open, and the user's groups: where a group would let the user in.
// Nothing known on Windows, where a port refused is one held by another program.
PortAccess LookAtPortAccess(const std::string& port);
