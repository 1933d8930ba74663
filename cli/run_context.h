#pragma once

#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/reader_session.h"

// What each command of mz6 returns.
constexpr int kExitOk = 0;        // all asked succeeded
constexpr int kExitFailed = 1;    // a port failed, find found none, or the output was lost
constexpr int kExitUsage = 2;     // wrong usage or a bad profile or key, found before any byte is sent
constexpr int kExitLogLost = 3;   // watch: its log could not take a record, and it stopped
constexpr int kExitSignal = 128;  // plus the signal that interrupted find, write or apply: 130 SIGINT, 143 SIGTERM

// What every command runs with: its options and arguments as the command line gave them, checked, and the
// texts of the user's language.
struct RunContext {
    std::vector<std::string> ports;  // --port, in the order given
    bool allPorts = false;           // --all
    int model = -1;                  // --model, -1: what answers
    bool json = false;
    bool progress = false;                 // a progress line on standard error
    WriteOptions write;                    // --force, --check of write, apply and watch
    std::string file;                      // save, apply and watch; "-" is standard input for apply and watch
    std::vector<std::string> assignments;  // write
    std::vector<std::string> patterns;     // watch --port GLOB; none: the ports that find would ask
    std::string log;                       // watch --log FILE, "" for none
    const ConsoleTexts* texts = nullptr;
};
