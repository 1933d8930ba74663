#pragma once

#include <string>

#include "cli/reader_session.h"
#include "cli/run_context.h"
#include "cli/run_failure.h"

// What the commands tell, the same way each.

// A failure that is no port's: "mz6: " and `message` (its bytes from outside escaped) on standard error, and
// with --json its JSON object on standard output. Returns `status`.
int Fail(const RunContext& options, RunFailure failure, const std::string& message, int status);

// A port's failure, on standard error.
void PrintFailure(const RunContext& options, const ReaderReport& report);

// One reader's settings to standard output, and its failure to standard error; with --json its record
// goes to standard output either way.
int ShowOne(const RunContext& options, const ReaderReport& report, bool writes);

// Once the work has been interrupted, its status says so.
int Ended(int status);
