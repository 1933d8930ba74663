#include <iostream>

#include "cli/commands.h"
#include "cli/fleet.h"
#include "cli/ports_asked.h"
#include "cli/report.h"
#include "cli/utf8_sequences.h"

int RunFind(const RunContext& options) {
    FinishWorkWhenInterrupted();
    const std::vector<SystemPort> system = ListSystemPorts();
    std::vector<std::string> ports;
    if (!PortsOf(options, system, &ports)) return kExitFailed;
    const std::vector<ReaderReport> reports = ForEachPort(
        ports,
        [&](const std::string& port) { return ReadReader(port, options.model, AskUsbFirst(options, system, port)); },
        options.progress, options.texts->progress);
    int found = 0;
    for (const ReaderReport& report : reports) {
        if (report.outcome != Outcome::kOk) {
            PrintFailure(options, report);
            continue;
        }
        ++found;
        if (!options.json) {
            std::cout << Escaped(report.port) << "  " << ModelInfoOf(report.model)->name << "  " << report.version
                      << "\n";
        }
    }
    if (options.json) std::cout << SettingsAsJson(*options.texts, reports, true, false);
    if (found == 0) std::cerr << "mz6: " << options.texts->noReaderFound << "\n";
    return Ended(found > 0 ? kExitOk : kExitFailed);
}
