#pragma once

#include <string>

#include "cli/run_context.h"

// The profile file ("-": standard input), checked in full; false (its fault told by Fail) when it cannot be
// used.
bool LoadProfile(const RunContext& options, const std::string& file, ReaderSettings* settings);
