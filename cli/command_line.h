#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/run_context.h"

// mz6's command line: the command, its options and its arguments, checked in
// full before any port is touched.

enum class Command { kPorts, kFind, kRead, kWrite, kSave, kApply, kWatch };

struct Invocation {
    Command command = Command::kPorts;
    RunContext run;        // all but progress and texts
    bool russian = false;  // --lang, or the user's language
};

// Parses `args` (without the program's name). Returns -1 when the command is to run; otherwise the
// exit status, with --help, --version or the usage error already written to `out` or `err`, in
// Russian with --lang ru, or without --lang when `russianByDefault`.
int ParseCommandLine(const std::vector<std::string>& args, bool russianByDefault, Invocation* invocation,
                     std::ostream& out, std::ostream& err);
