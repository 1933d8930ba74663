#pragma once

#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/reader_session.h"
#include "cli/run_failure.h"
#include "cli/system_glue.h"

// The six commands of mz6. Each returns the exit status.
constexpr int kExitOk = 0;        // all asked succeeded
constexpr int kExitFailed = 1;    // a port failed, find found none, or the output was lost
constexpr int kExitUsage = 2;     // wrong usage or a bad profile or key, found before any byte is sent
constexpr int kExitLogLost = 3;   // watch: its log could not take a record, and it stopped
constexpr int kExitSignal = 128;  // plus the signal that interrupted find, write or apply: 130 SIGINT, 143 SIGTERM

struct CommandOptions {
    std::vector<std::string> ports;  // --port, in the order given
    bool allPorts = false;           // --all
    int model = -1;                  // --model, -1: what answers
    bool json = false;
    bool progress = false;  // a progress line on standard error
    WriteOptions write;     // --force, --check of write and apply
    const ConsoleTexts* texts = nullptr;
};

// A failure that is no port's: "mz6: " and `message` (its bytes from outside escaped) on standard error, and
// with --json its JSON object on standard output. Returns `status`.
int Fail(const CommandOptions& options, RunFailure failure, const std::string& message, int status);

// The system's record of the port that `name` leads to, under any of its names; null when it lists none.
const SystemPort* SystemPortOf(const std::vector<SystemPort>& system, const std::string& name);

// The profile file ("-": standard input), checked in full; false (its fault told by Fail) when it cannot be
// used.
bool LoadProfile(const CommandOptions& options, const std::string& file, ReaderSettings* settings);

int RunPorts(const CommandOptions& options);
int RunFind(const CommandOptions& options);
int RunRead(const CommandOptions& options);
int RunWrite(const CommandOptions& options, const std::vector<std::string>& assignments);
int RunSave(const CommandOptions& options, const std::string& file);
int RunApply(const CommandOptions& options, const std::string& file);
