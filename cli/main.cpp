// mz6: the readers' settings from the command line, for scripts and fleets.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <iterator>

#include "base/format.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/system_glue.h"
#include "cli/utf8_sequences.h"

namespace {

// A port given twice, under any of its names, would be opened twice at once, and the second open would
// find it busy.
std::vector<std::string> WithoutRepeats(const std::vector<std::string>& ports) {
    std::vector<std::string> kept;
    std::vector<std::string> seen;
    for (const std::string& port : ports) {
        const std::string identity = PortIdentity(port);
        if (std::find(seen.begin(), seen.end(), identity) != seen.end()) continue;
        seen.push_back(identity);
        kept.push_back(port);
    }
    return kept;
}

// Each command, in the order of Command.
int (*const kRunCommand[])(const RunContext&) = {RunPorts, RunFind, RunRead, RunWrite, RunSave, RunApply, RunWatch};
static_assert(std::size(kRunCommand) == static_cast<std::size_t>(Command::kWatch) + 1, "a command without its run");

int Run(const Invocation& invocation) {
    RunContext options = invocation.run;
    options.ports = WithoutRepeats(options.ports);
    options.progress = ErrorOutputIsTerminal();
    options.texts = &ConsoleTextsFor(invocation.russian);
    return kRunCommand[static_cast<int>(invocation.command)](options);
}

}  // namespace

// Output that never arrived (a full disk) is a failure, or a script would go on with nothing.
int main(int argc, char** argv) {
    PrepareConsole();
    Invocation invocation;
    int unreadable = 0;
    const std::vector<std::string> arguments = ProgramArguments(argc, argv, &unreadable);
    if (unreadable > 0) {
        std::cerr << "mz6: "
                  << Escaped(FormatText(ConsoleTextsFor(UserPrefersRussian()).notUnicode, unreadable,
                                        arguments[static_cast<std::size_t>(unreadable - 1)].c_str()))
                  << "\n";
        return kExitUsage;
    }
    int status = ParseCommandLine(arguments, UserPrefersRussian(), &invocation, std::cout, std::cerr);
    if (status < 0) status = Run(invocation);
    std::cout.flush();
    if (std::cout) return status;
    // A closed pipe (EPIPE) or a full disk: the summary went to standard error, and the status says so.
    std::cerr << "mz6: " << ConsoleTextsFor(invocation.russian).outputLost << " (" << std::strerror(errno) << ")\n";
    return status == kExitUsage || status > kExitSignal ? status : kExitFailed;
}
