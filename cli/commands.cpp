#include "cli/commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "base/format.h"
#include "cli/change_report.h"
#include "cli/file_checks.h"
#include "cli/fleet.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "cli/run_failure.h"
#include "cli/run_tally.h"
#include "cli/utf8_sequences.h"

namespace {

// The ports find and --all ask: a console or a placeholder is asked only when named.
std::vector<std::string> PortsToAsk(const std::vector<SystemPort>& system) {
    std::vector<std::string> names;
    for (const SystemPort& port : system) {
        if (port.skip == TtySkip::kNone) names.push_back(port.name);
    }
    return names;
}

// "no serial ports found", said as a failure; a stand-in root that is no folder (a slip in its name) is named.
int FailForNoPorts(const CommandOptions& options) {
    std::string message = options.texts->noSerialPorts;
    const std::string root = SystemRoot();
    const PathFacts facts = root.empty() ? PathFacts{} : LookAtPath(root);
    if (!root.empty() && (facts.kind == PathKind::kLink ? facts.leadsTo : facts.kind) != PathKind::kFolder) {
        message += ": " + FormatText(options.texts->rootNotAFolder, root.c_str());
    }
    return Fail(options, RunFailure::kNoPorts, message, kExitFailed);
}

// The ports named, or without any the ports to ask; false, said as a failure, when there are none.
bool PortsOf(const CommandOptions& options, const std::vector<SystemPort>& system, std::vector<std::string>* ports) {
    *ports = options.ports.empty() ? PortsToAsk(system) : options.ports;
    if (!ports->empty()) return true;
    FailForNoPorts(options);
    return false;
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

// The profile's text from `path`, or from standard input for "-"; false, with why told, when it cannot be had
// whole.
bool ReadProfile(const CommandOptions& options, const std::string& path, std::string* text) {
    errno = 0;
    std::ifstream file;
    if (path != "-") file.open(std::filesystem::u8path(path), std::ios::binary);  // by its UTF-16 name on Windows
    std::istream& in = path == "-" ? std::cin : file;
    if (in) {
        const bool whole = ReadProfileText(in, text);
        // Standard input reads as empty when it is closed (EBADF) or a folder (EISDIR).
        if (path == "-" && text->empty() && (errno == EBADF || errno == EISDIR)) {
            Fail(options, RunFailure::kBadProfile,
                 errno == EBADF ? options.texts->inputClosed : options.texts->inputFolder, kExitUsage);
            return false;
        }
        if (!in.bad() && whole) return true;
        if (!in.bad()) {
            ProfileResult tooLarge;
            tooLarge.error = ProfileError::kTooLarge;
            Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, tooLarge, path), kExitUsage);
            return false;
        }
    }
    Fail(options, RunFailure::kBadProfile, path + ": " + std::strerror(errno != 0 ? errno : EIO), kExitUsage);
    return false;
}

// LocateSaveTarget, with why told where the path is no file to replace: -1 when it is a file or nothing yet
// (`found`: what and which it is); otherwise the exit status. A folder, device, fifo or socket is never replaced.
int FindSaveTarget(const CommandOptions& options, const std::string& path, std::string* target, PathFacts* found) {
    const SaveTarget save = LocateSaveTarget(path);
    if (save.facts.error != 0) {
        return Fail(options, RunFailure::kFileError, save.path + ": " + SystemErrorText(save.facts.error), kExitFailed);
    }
    if (save.refused != PathKind::kMissing) {
        const char* what = options.texts->pathKinds[static_cast<int>(save.refused) - static_cast<int>(PathKind::kLink)];
        return Fail(options, RunFailure::kUsage, FormatText(options.texts->notAFile, path.c_str(), what), kExitUsage);
    }
    *target = save.path;
    *found = save.facts;
    return -1;
}

}  // namespace

int Fail(const CommandOptions& options, RunFailure failure, const std::string& message, int status) {
    const std::string shown = Escaped(message);
    std::cerr << "mz6: " << shown << "\n";
    if (options.json) std::cout << FailureAsJson(failure, shown);
    return status;
}

const SystemPort* SystemPortOf(const std::vector<SystemPort>& system, const std::string& name) {
    const std::string identity = PortIdentity(name);
    for (const SystemPort& known : system) {
        if (known.name == name || PortIdentity(known.name) == identity) return &known;
    }
    return nullptr;
}

int RunPorts(const CommandOptions& options) {
    const std::vector<SystemPort> ports = ListSystemPorts();
    if (ports.empty()) return FailForNoPorts(options);
    std::cout << (options.json ? PortsAsJson(ports) : PortsAsText(*options.texts, ports));
    return kExitOk;
}

// The readers found to standard output; every other port asked, with its reason, to standard error.
int RunFind(const CommandOptions& options) {
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

int RunRead(const CommandOptions& options) {
    const std::string& port = options.ports[0];
    return ShowOne(options, ReadReader(port, options.model, AskUsbFirst(options, ListSystemPorts(), port)), false);
}

int RunWrite(const CommandOptions& options, const std::vector<std::string>& assignments) {
    const ProfileResult changes = ParseAssignments(assignments, options.model);
    if (changes.error != ProfileError::kNone) {
        return Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, changes, ""), kExitUsage);
    }
    FinishWorkWhenInterrupted();
    const ReaderReport report = WriteReader(options.ports[0], changes.settings, options.write);
    return Ended(ShowOne(options, report, true));
}

// The new file is made before the reader is asked: a path that is no file, or a folder that cannot be
// written, fails with nothing sent.
int RunSave(const CommandOptions& options, const std::string& file) {
    const ConsoleTexts& texts = *options.texts;
    const std::string& port = options.ports[0];
    std::string target;
    PathFacts checked;
    NewFile replacement;
    // Ctrl+C from here on ends the read as its exchange ends, and the new file goes with the rest.
    FinishWorkWhenInterrupted();
    if (file != "-") {
        const int refused = FindSaveTarget(options, file, &target, &checked);
        if (refused >= 0) return refused;
        std::int32_t error = 0;
        if (!CreateNewFileIn(FolderOf(target), &replacement, &error)) {
            return Fail(options, RunFailure::kFileError,
                        FormatText(texts.folderNotWritable, FolderOf(target).c_str(), SystemErrorText(error).c_str()),
                        kExitFailed);
        }
    }
    ReaderReport report = ReadReader(port, options.model, AskUsbFirst(options, ListSystemPorts(), port));
    if (InterruptSignal() != 0) report.outcome = Outcome::kNotAttempted;
    if (report.outcome != Outcome::kOk) {
        DiscardNewFile(&replacement);
        return Ended(ShowOne(options, report, false));
    }
    // The read takes a while: a path that has since become a link elsewhere, or no file, or another file, is
    // left alone.
    std::string now;
    PathFacts found;
    const int refused = file == "-" ? -1 : FindSaveTarget(options, file, &now, &found);
    if (refused >= 0 || now != target || (file != "-" && !SameSaveTarget(checked, found))) {
        DiscardNewFile(&replacement);
        if (refused >= 0) return refused;
        return Fail(options, RunFailure::kFileError,
                    FormatText(texts.pathChanged, file.c_str()) + "; " + texts.leftAsItWas, kExitFailed);
    }
    const std::string profile = FormatProfile(report.settings);
    if (file == "-" && !options.json) std::cout << profile;  // as a profile; with --json its record
    if (file == "-") return options.json ? ShowOne(options, report, false) : kExitOk;
    PutStep step = PutStep::kWrite;
    std::int32_t error = 0;
    if (!PutNewFileInPlace(&replacement, profile, target, &step, &error)) {
        const std::string why = SystemErrorText(error);
        return Fail(options, RunFailure::kFileError,
                    (step == PutStep::kOwner ? FormatText(texts.ownerNotKept, target.c_str(), why.c_str())
                                             : target + ": " + why) +
                        "; " + texts.leftAsItWas,
                    kExitFailed);
    }
    if (options.json) return ShowOne(options, report, false);
    std::cout << Escaped(FormatText(texts.saved, port.c_str(), file.c_str())) << "\n" << profile;
    return kExitOk;
}

bool LoadProfile(const CommandOptions& options, const std::string& file, ReaderSettings* settings) {
    std::string text;
    if (!ReadProfile(options, file, &text)) return false;
    const ProfileResult profile = ParseProfile(text);
    if (profile.error != ProfileError::kNone) {
        Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, profile, file), kExitUsage);
        return false;
    }
    *settings = profile.settings;
    return true;
}

int RunApply(const CommandOptions& options, const std::string& file) {
    const ConsoleTexts& texts = *options.texts;
    ReaderSettings settings;
    if (!LoadProfile(options, file, &settings)) return kExitUsage;
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
