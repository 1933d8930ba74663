#pragma once

// Why a port ended as it did; ResultCode names each for scripts, and the names stay as they are.
enum class Outcome {
    kOk,
    kNoAnswer,          // not one byte came back
    kUnrecognised,      // no marker in the reply, or "OK!" without settings to a read
    kUnknownCommand,    // " - UNKNOWN CMD!"
    kFirmware,          // a firmware version this program does not support
    kWrongModel,        // the reader answered as the other model (model: the one that answered)
    kMismatch,          // the settings read back are not the ones written
    kIncomplete,        // some of the reader's settings have codes this program does not know
    kNotFound,          // no such port
    kBusy,              // another program holds the port
    kPermissionDenied,  // the user may not open the port
    kNotASerialPort,    // it opened, but it is no tty (a file, a directory)
    kOpenFailed,        // the port could not be opened or configured for another reason
    kIoError,           // a read or write failed in the middle of an exchange (the port went away)
    kUnusedSetting,     // a setting asked for that the reader's other settings leave unused: nothing written
    kNotAttempted,      // the run was interrupted before this port was served
    kOtherModel,        // a reader of the other model than the profile's, left alone by --all and watch
    kUnplugged,         // watch: the reader went away before it was served, or while it was
};
constexpr Outcome kLastOutcome = Outcome::kUnplugged;

// "ok", "no-answer", "wrong-model", ... as --json and the text output give them.
const char* ResultCode(Outcome outcome);
