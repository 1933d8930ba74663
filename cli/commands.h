#pragma once

#include "cli/command_output.h"
#include "cli/run_context.h"

// The commands of mz6, a file each (command_*.cpp), telling what they did through command_output.h. Each
// returns the exit status.

int RunPorts(const RunContext& options);
// The readers found to standard output; every other port asked, with its reason, to standard error.
int RunFind(const RunContext& options);
int RunRead(const RunContext& options);
int RunWrite(const RunContext& options);
// The new file is made before the reader is asked: a path that is no file, or a folder that cannot be
// written, fails with nothing sent.
int RunSave(const RunContext& options);
int RunApply(const RunContext& options);
// Applies the profile to each reader as its port appears (once it can be opened), one line (or JSON record)
// a reader, until Ctrl+C or SIGTERM; then the totals. 128 and the signal when that ended it and no reader
// failed; 1 when one did, or the output was lost; 3 when the log could not take a record (watch stops once
// the reader in hand is done); 2 for a bad profile or a log that cannot be opened.
int RunWatch(const RunContext& options);
