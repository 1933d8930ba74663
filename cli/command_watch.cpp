#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "base/format.h"
#include "cli/arrivals.h"
#include "cli/change_report.h"
#include "cli/commands.h"
#include "cli/file_checks.h"
#include "cli/ports_asked.h"
#include "cli/profile_file.h"
#include "cli/report.h"
#include "cli/run_tally.h"
#include "cli/utf8_sequences.h"

namespace {

// A new port is seen within this, so it is asked well within half a second of appearing.
constexpr int kLookEveryMs = 100;

// A reader is known by the tty it reaches and by its USB serial number where the system gives one, not by
// the name that matched: a second link to a plugged reader is the same reader.
PresentPort ReaderAt(const std::vector<SystemPort>& system, const std::string& name) {
    const SystemPort* known = SystemPortOf(system, name);
    const std::string serial = known != nullptr ? known->usbSerial : std::string();
    return {name, PortIdentity(name) + (serial.empty() ? "" : " " + serial), serial};
}

// The ports watch may ask, as present now: those whose node is there. A device's sysfs entry comes before
// its node, and the node goes before the entry: a port listed without its node is not plugged in (yet).
std::vector<PresentPort> LookForPorts(const std::vector<std::string>& patterns) {
    std::vector<std::string> matched;
    for (const std::string& pattern : patterns) {
        for (const std::string& path : PathsMatching(pattern)) matched.push_back(path);
    }
    const std::vector<SystemPort> system = ListSystemPorts();
    std::vector<PresentPort> present;
    for (const SystemPort& port : system) {
        bool wanted = patterns.empty() && port.skip == TtySkip::kNone;
        for (const std::string& pattern : patterns) {
            wanted = wanted || MatchesPattern(pattern, port.name, kPortNamesIgnoreCase);
        }
        if (wanted && PortNodePresent(port.name)) present.push_back(ReaderAt(system, port.name));
    }
    for (const std::string& path : matched) present.push_back(ReaderAt(system, path));
    return present;
}

std::string TimeText(std::time_t when, bool utc) {
    char text[32] = {};
    const std::tm* parts = utc ? std::gmtime(&when) : std::localtime(&when);
    if (parts != nullptr) std::strftime(text, sizeof text, utc ? "%Y-%m-%dT%H:%M:%SZ" : "%H:%M:%S", parts);
    return text;
}

// A reader's line on standard output: its number, the time, the port, what came of it, its USB serial.
std::string TextLine(const ConsoleTexts& texts, bool check, int number, std::time_t when, const PresentPort& port,
                     const ReaderReport& report) {
    std::string text = std::to_string(number) + "  " + TimeText(when, false) + "  " + Escaped(port.name) + "  ";
    text += report.outcome == Outcome::kOk
                ? ChangeWord(report, check)
                : ResultCode(report.outcome) + std::string(": ") + DescribeFailure(texts, report);
    if (!port.usbSerial.empty()) text += "  " + Escaped(port.usbSerial);
    return text + "\n";
}

}  // namespace

int RunWatch(const RunContext& options) {
    const ConsoleTexts& texts = *options.texts;
    ReaderSettings settings;
    if (!LoadProfile(options, options.file, &settings)) return kExitUsage;
    std::FILE* log = nullptr;
    if (!options.log.empty()) {
        const OpenedFile opened = OpenForAppending(options.log);
        if (!LogMayBeWritten(opened)) {
            if (opened.file != nullptr) std::fclose(opened.file);
            return Fail(options, RunFailure::kFileError,
                        opened.kind == PathKind::kLink ? FormatText(texts.logIsALink, options.log.c_str())
                                                       : options.log + ": " + SystemErrorText(opened.error),
                        kExitUsage);
        }
        log = opened.file;
    }
    FinishWorkWhenInterrupted();

    // The ports present at the start are the machine's own, or readers already dealt with: left alone.
    Arrivals arrivals;
    // Each port once, also one found both in the system's list and by a --port pattern.
    const int present = static_cast<int>(NewlyPlugged(&arrivals.tracker, LookForPorts(options.patterns)).size());
    std::cerr << "mz6: " << FormatText(texts.watchStarted, present) << std::endl;

    RunTally tally;
    int number = 0;
    std::string logError;  // why the log could not take a line: watch stops
    const auto clock = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    ArrivalHooks hooks;
    hooks.nowMs = clock;
    hooks.serve = [&](const PresentPort& port) {
        ReaderReport report = WriteReader(port.name, settings, options.write);
        SkipOtherModel(&report);  // a reader of the other model is not this profile's
        return report;
    };
    // Output that can no longer be written (a closed pipe) ends the watch as a signal does: readers
    // configured from then on would leave no line. So does a log that cannot take a line.
    hooks.stop = [&] { return InterruptSignal() != 0 || !std::cout || !logError.empty(); };
    hooks.record = [&](const PresentPort& port, const ReaderReport& report) {
        CountReport(texts, report, &tally);
        const std::time_t when = std::time(nullptr);
        nlohmann::ordered_json record;
        record["number"] = ++number;
        record["time"] = TimeText(when, true);
        record["usb_serial"] =
            port.usbSerial.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(port.usbSerial);
        record.update(ReportAsJson(texts, report, true));
        const std::string line = record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        // Flushed line by line: a crash or a kill loses no reader already done.
        if (log != nullptr && logError.empty() && (std::fputs(line.c_str(), log) < 0 || std::fflush(log) != 0)) {
            logError = std::strerror(errno);
        }
        if (!logError.empty()) AddPort(&tally.notLogged, port.name);
        std::cout << (options.json ? line : TextLine(texts, options.write.check, number, when, port, report))
                  << std::flush;
    };
    while (!hooks.stop()) {
        ServeArrivals(&arrivals, LookForPorts(options.patterns), hooks);
        Pause(kLookEveryMs);
    }
    RecordHeldFailures(&arrivals, hooks);
    if (log != nullptr) std::fclose(log);
    if (!logError.empty()) {
        std::cerr << "mz6: " << Escaped(FormatText(texts.logStopped, options.log.c_str(), logError.c_str())) << "\n";
    }
    std::cerr << SummaryText(texts, tally, options.write.check);
    if (!logError.empty()) return kExitLogLost;
    if (tally.failed > 0 || InterruptSignal() == 0) return kExitFailed;  // no signal: the output was lost
    return kExitSignal + InterruptSignal();
}
