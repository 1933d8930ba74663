#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

struct WatchOptions {
    std::vector<std::string> patterns;  // --port GLOB; none: the ports that find would ask
    std::string log;                    // --log FILE, "" for none
};

// mz6 watch: applies the profile in `file` to each reader as its port appears (once it can be opened),
// one line (or JSON record) a reader, until Ctrl+C or SIGTERM; then the totals. 128 and the signal when
// that ended it and no reader failed; 1 when one did, or the output was lost; 3 when the log could not take
// a record (watch stops once the reader in hand is done); 2 for a bad profile or a log that cannot be opened.
int RunWatch(const CommandOptions& options, const WatchOptions& watch, const std::string& file);
