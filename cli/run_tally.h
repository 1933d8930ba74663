#pragma once

#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/reader_session.h"

// The count of a run that writes one profile onto many readers (apply, watch), and its summary.

struct RunTally {
    int readers = 0;  // of the profile's model, done or failed: neither interrupted, unplugged nor of the other model
    int changed = 0;  // done, and written (with --check: would be)
    int failed = 0;
    std::string failures;      // "\n  PORT: CODE: why" for each failed reader
    std::string notAttempted;  // the ports, ", " between them
    std::string otherModel;
    std::string unplugged;
    std::string notLogged;  // watch: the readers whose record is not in its log
};

// Adds `port` to a list of ports as the summary shows them: " a, b".
void AddPort(std::string* list, const std::string& port);

// --all and watch take the readers of the profile's model: one that answers as the other is left alone.
void SkipOtherModel(ReaderReport* report);

void CountReport(const ConsoleTexts& texts, const ReaderReport& report, RunTally* tally);

// The summary on standard error: "n of m readers configured: ...", the failed readers with why, then the
// ports not attempted, unplugged, of the other model and not in the log, each kind on a line of its own.
std::string SummaryText(const ConsoleTexts& texts, const RunTally& tally, bool check);
