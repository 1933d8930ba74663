#pragma once

#include <string>

// A failure that is no port's, before or after the ports' work, as --json gives it.

enum class RunFailure {
    kUsage,       // wrong usage: a command, option or argument (exit 2)
    kBadProfile,  // a profile or key=value that cannot be used, or a profile that cannot be read (exit 2)
    kFileError,   // the file to save or the log could not be written (exit 1; the log's at the start 2)
    kNoPorts,     // ports, --all, or find without --port, on a host without serial ports (exit 1)
    kNoReader,    // apply --all: no reader of the profile's model among the ports (exit 1)
};
constexpr int kRunFailureCount = 5;

// "usage", "bad-profile", "file-error", "no-ports", "no-reader".
const char* ResultCode(RunFailure failure);

// The one JSON object of such a failure, on one line: {"result":"usage","message":"..."}.
std::string FailureAsJson(RunFailure failure, const std::string& message);
