#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/settings_changes.h"

// One reader on one port, from open to close: its settings read, or changed,
// written and read back to verify. Each call opens and closes the port itself
// and touches nothing shared, so ports can be served in parallel.

// Why a port ended as it did; ResultCode names each for scripts, and the names stay as they are.
enum class Outcome {
    kOk,
    kNoAnswer,         // not one byte came back
    kUnrecognised,     // no marker in the reply, or "OK!" without settings to a read
    kUnknownCommand,   // " - UNKNOWN CMD!"
    kFirmware,         // a firmware version this program does not support
    kWrongModel,       // the reader answered as the other model (model: the one that answered)
    kMismatch,         // the settings read back are not the ones written
    kIncomplete,       // some of the reader's settings have codes this program does not know
    kNotFound,         // no such port
    kBusy,             // another program holds the port
    kPermissionDenied, // the user may not open the port
    kNotASerialPort,   // it opened, but it is no tty (a file, a directory)
    kOpenFailed,       // the port could not be opened or configured for another reason
    kIoError,          // a read or write failed in the middle of an exchange (the port went away)
    kUnusedSetting,    // a setting asked for that the reader's other settings leave unused: nothing written
    kNotAttempted,     // the run was interrupted before this port was served
};

// "ok", "no-answer", "wrong-model", ... as --json and the text output give them.
const char* ResultCode(Outcome outcome);

struct ReaderReport {
    std::string port;
    Outcome outcome = Outcome::kOk;
    std::int32_t error = 0;  // the system's number, 0 when there is none
    int model = -1;          // the model that answered, -1 when none did
    int askedModel = -1;     // kWrongModel: the model it was asked as
    bool written = false;    // the reader took the write: a failure after it is the read-back's
    std::string version;
    ReaderSettings settings;
    std::vector<SettingId> unrecognised;     // kIncomplete
    std::vector<SettingChange> mismatches;   // kMismatch: from what was read back to what was written
    // A write: the settings the reader held before it, what differed from the ones asked, and whether
    // the write command went out for them (with --check: would go out; `written`: the reader took it).
    ReaderSettings before;
    std::vector<SettingChange> changes;
    bool changed = false;
};

struct WriteOptions {
    bool force = false;  // write even when the reader holds every setting asked
    bool check = false;  // read and tell the changes, never write
};

// Reads the settings of the reader on `port`: of `model`, or with -1 the
// serial-output reader's command first (the USB reader's with `usbFirst`),
// then the other. A reader asked as one model that answers only as the other
// is kWrongModel.
ReaderReport ReadReader(const std::string& port, int model, bool usbFirst);

// Reads the reader of `changes.model` and puts in every setting that `changes`
// holds a value for. Unless the reader already holds them all (and not
// `force`), or with `check`, writes the result, expects "OK!" and reads it back:
// the report's settings are those read back.
ReaderReport WriteReader(const std::string& port, const ReaderSettings& changes, const WriteOptions& options);
