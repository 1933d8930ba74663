#include "cli/result_code.h"

const char* ResultCode(Outcome outcome) {
    switch (outcome) {
        case Outcome::kOk:
            return "ok";
        case Outcome::kNoAnswer:
            return "no-answer";
        case Outcome::kUnrecognised:
            return "unrecognised";
        case Outcome::kUnknownCommand:
            return "unknown-command";
        case Outcome::kFirmware:
            return "firmware";
        case Outcome::kWrongModel:
            return "wrong-model";
        case Outcome::kMismatch:
            return "mismatch";
        case Outcome::kIncomplete:
            return "incomplete";
        case Outcome::kNotFound:
            return "not-found";
        case Outcome::kBusy:
            return "busy";
        case Outcome::kPermissionDenied:
            return "permission-denied";
        case Outcome::kNotASerialPort:
            return "not-a-serial-port";
        case Outcome::kOpenFailed:
            return "open-failed";
        case Outcome::kIoError:
            return "io-error";
        case Outcome::kUnusedSetting:
            return "unused-setting";
        case Outcome::kNotAttempted:
            return "not-attempted";
        case Outcome::kOtherModel:
            return "other-model";
        case Outcome::kUnplugged:
            return "unplugged";
    }
    return "open-failed";
}
