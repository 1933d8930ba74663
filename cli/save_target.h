#pragma once

#include <string>

#include "cli/run_context.h"
#include "cli/system_glue.h"

// The folder that holds `path`: "." for a bare name, the root itself for a file in the root.
std::string FolderOf(const std::string& path);

// The file that a save to `path` replaces: the path itself, or where its links lead, so that a link stays
// and its target is replaced in the target's own folder. -1 when that is a file or nothing yet (`found`: what
// and which it is); otherwise the exit status, with why told: a folder, device, fifo or socket is never replaced.
int FindSaveTarget(const RunContext& options, const std::string& path, std::string* target, PathFacts* found);
