#pragma once

#include <string>

#include "cli/run_context.h"
#include "cli/system_glue.h"

// LocateSaveTarget, with why told where the path is no file to replace: -1 when it is a file or nothing yet
// (`found`: what and which it is); otherwise the exit status. A folder, device, fifo or socket is never replaced.
int FindSaveTarget(const RunContext& options, const std::string& path, std::string* target, PathFacts* found);
