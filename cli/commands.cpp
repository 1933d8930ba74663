#include "cli/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/format.h"
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
    std::cerr << report.port << ": " << DescribeFailure(*options.texts, report) << "\n";
}

// One reader's settings to standard output; its failure to standard error.
int ShowOne(const CommandOptions& options, const ReaderReport& report) {
    if (report.outcome != Outcome::kOk) {
        PrintFailure(options, report);
        return kExitFailed;
    }
    std::cout << (options.json ? SettingsAsJson(*options.texts, {report}, false) : SettingsAsText(report));
    if (report.writeAsked && !options.json) std::cout << ChangesAsText(*options.texts, report, options.write.check);
    return kExitOk;
}

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

}  // namespace

int RunPorts(const CommandOptions& options) {
    const std::vector<SystemPort> ports = ListSystemPorts();
    std::cout << (options.json ? PortsAsJson(ports) : PortsAsText(ports));
    return kExitOk;
}

int RunFind(const CommandOptions& options) {
    const std::vector<std::string> ports = options.ports.empty() ? AllPortNames() : options.ports;
    const int model = options.model;
    const std::vector<ReaderReport> reports =
        ForEachPort(ports, [model](const std::string& port) { return ReadReader(port, model); }, options.progress,
                    options.texts->progress);
    int found = 0;
    for (const ReaderReport& report : reports) {
        if (report.outcome != Outcome::kOk) continue;
        ++found;
        if (!options.json) {
            std::cout << report.port << "  " << ModelInfoOf(report.model)->name << "  " << report.version << "\n";
        }
    }
    if (options.json) std::cout << SettingsAsJson(*options.texts, reports, true);
    if (found == 0) std::cerr << options.texts->noReaderFound << "\n";
    return found > 0 ? kExitOk : kExitFailed;
}

int RunRead(const CommandOptions& options) { return ShowOne(options, ReadReader(options.ports[0], options.model)); }

int RunWrite(const CommandOptions& options, const std::vector<std::string>& assignments) {
    const ProfileResult changes = ParseAssignments(assignments, options.model);
    if (changes.error != ProfileError::kNone) {
        std::cerr << DescribeProfileError(*options.texts, changes, "") << "\n";
        return kExitUsage;
    }
    return ShowOne(options, WriteReader(options.ports[0], changes.settings, options.write));
}

int RunSave(const CommandOptions& options, const std::string& file) {
    const ReaderReport report = ReadReader(options.ports[0], options.model);
    if (report.outcome != Outcome::kOk) {
        PrintFailure(options, report);
        return kExitFailed;
    }
    // Written beside the old profile and put in its place only when whole: a full disk keeps the old one.
    const std::string temporary = file + ".mz6-new";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << FormatProfile(report.settings);
    out.close();
    std::string reason;
    if (!out) reason = std::strerror(errno);
    if (!out || !MoveFileOver(temporary, file, &reason)) {
        std::remove(temporary.c_str());
        std::cerr << file << ": " << reason << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

bool LoadProfile(const CommandOptions& options, const std::string& file, ReaderSettings* settings) {
    std::string text;
    if (!ReadFile(file, &text)) {
        std::cerr << file << ": " << std::strerror(errno) << "\n";
        return false;
    }
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
    const std::vector<std::string> ports = options.allPorts ? AllPortNames() : options.ports;
    const WriteOptions& write = options.write;
    const std::vector<ReaderReport> reports =
        ForEachPort(ports, [&](const std::string& port) { return WriteReader(port, settings, write); },
                    options.progress, options.texts->progress);
    int configured = 0;
    int changed = 0;
    std::string failed;
    for (const ReaderReport& report : reports) {
        if (report.outcome == Outcome::kOk) {
            ++configured;
            changed += report.changed ? 1 : 0;
        } else {
            failed += "\n  " + report.port + ": " + DescribeFailure(*options.texts, report);
        }
        if (!options.json) std::cout << ChangesAsText(*options.texts, report, write.check);
    }
    if (options.json) std::cout << SettingsAsJson(*options.texts, reports, true);
    const int total = static_cast<int>(reports.size());
    std::cerr << FormatText(write.check ? options.texts->summaryChecked : options.texts->summaryDone, configured,
                            total, changed, configured - changed, total - configured);
    if (!failed.empty()) std::cerr << ":" << failed;
    std::cerr << "\n";
    return configured == static_cast<int>(reports.size()) && !reports.empty() ? kExitOk : kExitFailed;
}
