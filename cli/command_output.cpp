#include "cli/command_output.h"

#include <iostream>

#include "cli/change_report.h"
#include "cli/report.h"
#include "cli/system_glue.h"
#include "cli/utf8_sequences.h"

int Fail(const RunContext& options, RunFailure failure, const std::string& message, int status) {
    const std::string shown = Escaped(message);
    std::cerr << "mz6: " << shown << "\n";
    if (options.json) std::cout << FailureAsJson(failure, shown);
    return status;
}

void PrintFailure(const RunContext& options, const ReaderReport& report) {
    std::cerr << FailureLine(*options.texts, report) << "\n";
}

int ShowOne(const RunContext& options, const ReaderReport& report, bool writes) {
    if (options.json) std::cout << SettingsAsJson(*options.texts, {report}, false, writes);
    if (report.outcome != Outcome::kOk) {
        PrintFailure(options, report);
        return kExitFailed;
    }
    if (!options.json) std::cout << SettingsAsText(*options.texts, report);
    if (writes && !options.json) std::cout << ChangesAsText(*options.texts, report, options.write.check);
    return kExitOk;
}

int Ended(int status) { return InterruptSignal() != 0 ? kExitSignal + InterruptSignal() : status; }
