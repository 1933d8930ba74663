#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/settings_changes.h"

// One reader on one port, from open to close: its settings read, or changed,
// written and read back to verify. Each call opens and closes the port itself
// and touches nothing shared, so ports can be served in parallel.

enum class Outcome {
    kOk,
    kOpenFailed,      // the port could not be opened or configured (error: the system's number)
    kNoResponse,      // not one byte came back
    kUnknownCommand,  // " - UNKNOWN CMD!"
    kUnrecognised,    // no marker in the reply, or "OK!" without settings to a read
    kFirmware,        // a firmware version this program does not support
    kPortError,       // a read or write failed (error: the system's number)
    kIncomplete,      // some of the reader's settings have codes this program does not know
    kMismatch,        // the settings read back are not the ones written
    kUnused,          // a setting asked for that the reader's other settings leave unused: nothing written
};

struct ReaderReport {
    std::string port;
    Outcome outcome = Outcome::kOk;
    std::int32_t error = 0;
    int model = -1;  // the model that answered, -1 when none did
    bool written = false;  // the reader took the write: a failure after it is the read-back's
    std::string version;
    ReaderSettings settings;
    std::vector<SettingId> unrecognised;     // kIncomplete
    std::vector<SettingChange> mismatches;   // kMismatch: from what was read back to what was written
    // A write: the settings the reader held before it, what differed from the ones asked, and whether
    // the write command went out for them (with --check: would go out).
    bool writeAsked = false;
    ReaderSettings before;
    std::vector<SettingChange> changes;
    bool changed = false;
};

struct WriteOptions {
    bool force = false;  // write even when the reader holds every setting asked
    bool check = false;  // read and tell the changes, never write
};

// Reads the settings of the reader on `port`: of `model`, or with -1 the
// serial-output reader's command first, then the USB reader's.
ReaderReport ReadReader(const std::string& port, int model);

// Reads the reader of `changes.model` and puts in every setting that `changes`
// holds a value for. Unless the reader already holds them all (and not
// `force`), or with `check`, writes the result, expects "OK!" and reads it back:
// the report's settings are those read back.
ReaderReport WriteReader(const std::string& port, const ReaderSettings& changes, const WriteOptions& options);
