#include "cli/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/text/format.h"
#include "cli/change_report.h"
#include "cli/fleet.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "cli/system_glue.h"

namespace {

std::vector<std::string> AllPortNames() {
    std::vector<std::string> names;
    for (const SystemPort& port : ListSystemPorts()) names.push_back(port.name);
    return names;
}

void PrintFailure(const CommandOptions& options, const ReaderReport& report) {
    std::cerr << FailureLine(*options.texts, report) << "\n";
}

// One reader's settings to standard output, and its failure to standard error; with --json its record
// goes to standard output either way.
int ShowOne(const CommandOptions& options, const ReaderReport& report, bool writes) {
    if (options.json) std::cout << SettingsAsJson(*options.texts, {report}, false, writes);
    if (report.outcome != Outcome::kOk) {
        PrintFailure(options, report);
        return kExitFailed;
    }
    if (!options.json) std::cout << SettingsAsText(*options.texts, report);
    if (writes && !options.json) std::cout << ChangesAsText(*options.texts, report, options.write.check);
    return kExitOk;
}

// Once the work has been interrupted, its status says so.
int Ended(int status) { return InterruptSignal() != 0 ? kExitSignal + InterruptSignal() : status; }

// Without --model a port whose USB identifiers are the USB reader's is asked as that first.
bool AskUsbFirst(const CommandOptions& options, const std::vector<SystemPort>& system, const std::string& port) {
    const SystemPort* known = options.model < 0 ? SystemPortOf(system, port) : nullptr;
    return known != nullptr && known->usbReader;
}

// The profile's text from `path`, or from standard input for "-"; false, with why on standard error, when
// it cannot be had whole.
bool ReadProfile(const CommandOptions& options, const std::string& path, std::string* text) {
    errno = 0;
    std::ifstream file;
    if (path != "-") file.open(std::filesystem::u8path(path), std::ios::binary);  // by its UTF-16 name on Windows
    std::istream& in = path == "-" ? std::cin : file;
    if (in) {
        const bool whole = ReadProfileText(in, text);
        if (!in.bad() && whole) return true;
        if (!in.bad()) {
            ProfileResult tooLarge;
            tooLarge.error = ProfileError::kTooLarge;
            std::cerr << DescribeProfileError(*options.texts, tooLarge, path) << "\n";
            return false;
        }
    }
    std::cerr << path << ": " << std::strerror(errno != 0 ? errno : EIO) << "\n";
    return false;
}

}  // namespace

const SystemPort* SystemPortOf(const std::vector<SystemPort>& system, const std::string& name) {
    const std::string identity = PortIdentity(name);
    for (const SystemPort& known : system) {
        if (known.name == name || PortIdentity(known.name) == identity) return &known;
    }
    return nullptr;
}

int RunPorts(const CommandOptions& options) {
    const std::vector<SystemPort> ports = ListSystemPorts();
    std::cout << (options.json ? PortsAsJson(ports) : PortsAsText(ports));
    return kExitOk;
}

// The readers found to standard output; every other port asked, with its reason, to standard error.
int RunFind(const CommandOptions& options) {
    FinishWorkWhenInterrupted();
    const std::vector<SystemPort> system = ListSystemPorts();
    std::vector<std::string> ports = options.ports;
    if (ports.empty()) {
        for (const SystemPort& port : system) ports.push_back(port.name);
    }
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
            std::cout << report.port << "  " << ModelInfoOf(report.model)->name << "  " << report.version << "\n";
        }
    }
    if (options.json) std::cout << SettingsAsJson(*options.texts, reports, true, false);
    if (found == 0) std::cerr << options.texts->noReaderFound << "\n";
    return Ended(found > 0 ? kExitOk : kExitFailed);
}

int RunRead(const CommandOptions& options) {
    const std::string& port = options.ports[0];
    return ShowOne(options, ReadReader(port, options.model, AskUsbFirst(options, ListSystemPorts(), port)), false);
}

int RunWrite(const CommandOptions& options, const std::vector<std::string>& assignments) {
    const ProfileResult changes = ParseAssignments(assignments, options.model);
    if (changes.error != ProfileError::kNone) {
        std::cerr << DescribeProfileError(*options.texts, changes, "") << "\n";
        return kExitUsage;
    }
    FinishWorkWhenInterrupted();
    const ReaderReport report = WriteReader(options.ports[0], changes.settings, options.write);
    return Ended(ShowOne(options, report, true));
}

int RunSave(const CommandOptions& options, const std::string& file) {
    const std::string& port = options.ports[0];
    const ReaderReport report = ReadReader(port, options.model, AskUsbFirst(options, ListSystemPorts(), port));
    if (report.outcome != Outcome::kOk) return ShowOne(options, report, false);
    // Written beside the old profile and put in its place only when whole: a full disk keeps the old one.
    const std::string temporary = file + ".mz6-new";
    const std::string profile = FormatProfile(report.settings);
    std::ofstream out(std::filesystem::u8path(temporary), std::ios::binary | std::ios::trunc);
    out << profile;
    out.close();
    std::string reason;
    if (!out) reason = std::strerror(errno);
    if (!out || !MoveFileOver(temporary, file, &reason)) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(temporary), ignored);
        std::cerr << file << ": " << reason << "\n";
        return kExitFailed;
    }
    if (options.json) return ShowOne(options, report, false);
    std::cout << FormatText(options.texts->saved, port.c_str(), file.c_str()) << "\n" << profile;
    return kExitOk;
}

bool LoadProfile(const CommandOptions& options, const std::string& file, ReaderSettings* settings) {
    std::string text;
    if (!ReadProfile(options, file, &text)) return false;
    const ProfileResult profile = ParseProfile(text);
    if (profile.error != ProfileError::kNone) {
        std::cerr << DescribeProfileError(*options.texts, profile, file) << "\n";
        return false;
    }
    *settings = profile.settings;
    return true;
}

int RunApply(const CommandOptions& options, const std::string& file) {
    ReaderSettings settings;
    if (!LoadProfile(options, file, &settings)) return kExitUsage;
    FinishWorkWhenInterrupted();
    const std::vector<std::string> ports = options.allPorts ? AllPortNames() : options.ports;
    const WriteOptions& write = options.write;
    const std::vector<ReaderReport> reports = ForEachPort(
        ports, [&](const std::string& port) { return WriteReader(port, settings, write); }, options.progress,
        options.texts->progress);
    int configured = 0;
    int changed = 0;
    int untouched = 0;
    std::string failed;
    std::string notAttempted;
    for (const ReaderReport& report : reports) {
        if (report.outcome == Outcome::kOk) {
            ++configured;
            changed += report.changed ? 1 : 0;
        } else if (report.outcome == Outcome::kNotAttempted) {
            notAttempted += (notAttempted.empty() ? " " : ", ") + report.port;
            ++untouched;
        } else {
            failed += "\n  " + FailureLine(*options.texts, report);
        }
        if (!options.json) std::cout << ChangesAsText(*options.texts, report, write.check);
    }
    if (options.json) std::cout << SettingsAsJson(*options.texts, reports, true, true);
    const int total = static_cast<int>(reports.size());
    std::cerr << FormatText(write.check ? options.texts->summaryChecked : options.texts->summaryDone, configured, total,
                            changed, configured - changed, total - configured - untouched);
    if (!failed.empty()) std::cerr << ":" << failed;
    if (!notAttempted.empty()) std::cerr << "\n" << options.texts->summaryNotAttempted << notAttempted;
    std::cerr << "\n";
    return Ended(configured == static_cast<int>(reports.size()) && !reports.empty() ? kExitOk : kExitFailed);
}
