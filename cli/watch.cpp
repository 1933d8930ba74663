#include "cli/watch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "app/text/format.h"
#include "cli/change_report.h"
#include "cli/port_tracker.h"
#include "cli/report.h"
#include "cli/system_glue.h"
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

// The ports watch may ask, as present now. The paths are looked at first: a device's /dev entry comes after
// its sysfs entry, so the system's list then holds it.
std::vector<PresentPort> LookForPorts(const WatchOptions& watch) {
    std::vector<std::string> matched;
    for (const std::string& pattern : watch.patterns) {
        for (const std::string& path : PathsMatching(pattern)) matched.push_back(path);
    }
    const std::vector<SystemPort> system = ListSystemPorts();
    std::vector<PresentPort> present;
    for (const SystemPort& port : system) {
        bool wanted = watch.patterns.empty() && port.skip == TtySkip::kNone;
        for (const std::string& pattern : watch.patterns) {
            wanted = wanted || MatchesPattern(pattern, port.name, kPortNamesIgnoreCase);
        }
        if (wanted) present.push_back(ReaderAt(system, port.name));
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

// A port that has just appeared may not open yet: its device node, and the group udev gives it, come a
// moment after the system lists it. It is tried again at every look for a second before it counts as failed.
ReaderReport WriteWhenReady(const std::string& port, const ReaderSettings& settings, const WriteOptions& options) {
    constexpr int kSettleLooks = 10;
    ReaderReport report = WriteReader(port, settings, options);
    for (int look = 0; look < kSettleLooks && InterruptSignal() == 0; ++look) {
        if (report.outcome != Outcome::kNotFound && report.outcome != Outcome::kPermissionDenied) break;
        Pause(kLookEveryMs);
        report = WriteReader(port, settings, options);
    }
    return report;
}

struct Totals {
    int asked = 0;    // every reader, also the one a signal stopped
    int readers = 0;  // those done or failed
    int changed = 0;
    int failed = 0;
    std::string notAttempted;  // the reader in hand when a signal came, before its write: left as it was
    bool logLost = false;      // a line could not be written to the log (a full disk)
};

}  // namespace

int RunWatch(const CommandOptions& options, const WatchOptions& watch, const std::string& file) {
    const ConsoleTexts& texts = *options.texts;
    ReaderSettings settings;
    if (!LoadProfile(options, file, &settings)) return kExitUsage;
    std::FILE* log = nullptr;
    if (!watch.log.empty() && (log = std::fopen(watch.log.c_str(), "a")) == nullptr) {
        return Fail(options, RunFailure::kFileError, watch.log + ": " + std::strerror(errno), kExitUsage);
    }
    FinishWorkWhenInterrupted();

    // The ports present at the start are the machine's own, or readers already dealt with: left alone.
    PortTracker tracker;
    // Each port once, also one found both in the system's list and by a --port pattern.
    const int present = static_cast<int>(NewlyPlugged(&tracker, LookForPorts(watch)).size());
    std::cerr << "mz6: " << FormatText(texts.watchStarted, present) << std::endl;

    Totals totals;
    // Output that can no longer be written (a closed pipe) ends the watch as a signal does: readers
    // configured from then on would leave no line.
    while (InterruptSignal() == 0 && std::cout) {
        for (const PresentPort& port : NewlyPlugged(&tracker, LookForPorts(watch))) {
            if (InterruptSignal() != 0 || !std::cout) break;  // the reader in hand is finished; no new one is started
            const std::time_t when = std::time(nullptr);
            const ReaderReport report = WriteWhenReady(port.name, settings, options.write);
            const std::string& serial = port.usbSerial;
            const int number = ++totals.asked;
            if (report.outcome == Outcome::kNotAttempted) {
                totals.notAttempted = " " + port.name;
            } else {
                ++totals.readers;
                totals.changed += report.outcome == Outcome::kOk && report.changed ? 1 : 0;
                totals.failed += report.outcome == Outcome::kOk ? 0 : 1;
            }

            nlohmann::ordered_json record;
            record["number"] = number;
            record["time"] = TimeText(when, true);
            record["usb_serial"] = serial.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(serial);
            record.update(ReportAsJson(texts, report, true));
            const std::string line = record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
            // Flushed line by line: a crash or a kill loses no reader already done. A line the log could not
            // take is said at once, and the run ends failed: the record of that reader is missing.
            if (log != nullptr && (std::fputs(line.c_str(), log) < 0 || std::fflush(log) != 0) && !totals.logLost) {
                totals.logLost = true;
                std::cerr << "mz6: " << Escaped(watch.log) << ": " << std::strerror(errno) << std::endl;
            }
            if (options.json) {
                std::cout << line << std::flush;
                continue;
            }
            std::string text = std::to_string(number) + "  " + TimeText(when, false) + "  " + Escaped(port.name) + "  ";
            text += report.outcome == Outcome::kOk
                        ? ChangeWord(report, options.write.check)
                        : ResultCode(report.outcome) + std::string(": ") + DescribeFailure(texts, report);
            if (!serial.empty()) text += "  " + Escaped(serial);
            std::cout << text << std::endl;
        }
        Pause(kLookEveryMs);
    }
    if (log != nullptr) std::fclose(log);
    const int ok = totals.readers - totals.failed;
    std::cerr << FormatText(options.write.check ? texts.summaryChecked : texts.summaryDone, ok, totals.readers,
                            totals.changed, ok - totals.changed, totals.failed)
              << "\n";
    if (!totals.notAttempted.empty()) std::cerr << texts.summaryNotAttempted << Escaped(totals.notAttempted) << "\n";
    return totals.failed == 0 && !totals.logLost ? kExitOk : kExitFailed;
}
