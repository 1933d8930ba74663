#include <iostream>

#include "base/format.h"
#include "cli/change_report.h"
#include "cli/commands.h"
#include "cli/fleet.h"
#include "cli/ports_asked.h"
#include "cli/profile_file.h"
#include "cli/report.h"
#include "cli/run_tally.h"

int RunApply(const RunContext& options) {
    const ConsoleTexts& texts = *options.texts;
    ReaderSettings settings;
    if (!LoadProfile(options, options.file, &settings)) return kExitUsage;
    FinishWorkWhenInterrupted();
    std::vector<std::string> ports;
    if (!PortsOf(options, options.allPorts ? ListSystemPorts() : std::vector<SystemPort>(), &ports)) {
        return kExitFailed;
    }
    const WriteOptions& write = options.write;
    std::vector<ReaderReport> reports = ForEachPort(
        ports, [&](const std::string& port) { return WriteReader(port, settings, write); }, options.progress,
        texts.progress);
    // --all means the readers of the profile's model: a reader of the other one is no failure of the run.
    if (options.allPorts) {
        for (ReaderReport& report : reports) SkipOtherModel(&report);
    }
    RunTally tally;
    for (const ReaderReport& report : reports) {
        CountReport(texts, report, &tally);
        if (!options.json) std::cout << ChangesAsText(texts, report, write.check);
    }
    if (tally.readers == 0 && tally.notAttempted.empty()) {
        return Fail(options, RunFailure::kNoReader,
                    FormatText(texts.noReaderToConfigure, ModelInfoOf(settings.model)->name), kExitFailed);
    }
    if (options.json) std::cout << SettingsAsJson(texts, reports, true, true);
    std::cerr << SummaryText(texts, tally, write.check);
    return Ended(tally.failed == 0 && tally.notAttempted.empty() ? kExitOk : kExitFailed);
}
