#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/result_code.h"
#include "protocol/settings_changes.h"

// One reader on one port, from open to close: its settings read, or changed,
// written and read back to verify. Each call opens and closes the port itself
// and touches nothing shared, so ports can be served in parallel.

struct ReaderReport {
    std::string port;
    Outcome outcome = Outcome::kOk;
    std::int32_t error = 0;  // the system's number, 0 when there is none
    int model = -1;          // the model that answered, -1 when none did
    int askedModel = -1;     // kWrongModel: the model it was asked as
    bool written = false;    // the reader took the write: a failure after it is the read-back's
    std::string version;
    ReaderSettings settings;
    std::vector<SettingId> unrecognised;    // kIncomplete
    std::vector<SettingChange> mismatches;  // kMismatch: from what was read back to what was written
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
