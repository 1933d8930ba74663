#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

struct WatchOptions {
    std::vector<std::string> patterns;  // --port GLOB; none: the ports that find would ask
    std::string log;                    // --log FILE, "" for none
};

// mz6 watch: applies the profile in `file` to each reader as its port appears,
// one line (or JSON record) a reader, until Ctrl+C or SIGTERM; then the totals.
// 0 when no reader failed, else 1 (also when the log could not take a line);
// 2 for a bad profile or a log that cannot be opened.
int RunWatch(const CommandOptions& options, const WatchOptions& watch, const std::string& file);
