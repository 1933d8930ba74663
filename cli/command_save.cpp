#include <iostream>

#include "base/format.h"
#include "cli/command_output.h"
#include "cli/commands.h"
#include "cli/file_checks.h"
#include "cli/ports_asked.h"
#include "cli/profile.h"
#include "cli/utf8_sequences.h"

namespace {

// LocateSaveTarget, with why told where the path is no file to replace: -1 when it is a file or nothing yet
// (`found`: what and which it is); otherwise the exit status. A folder, device, fifo or socket is never replaced.
int FindSaveTarget(const RunContext& options, const std::string& path, std::string* target, PathFacts* found) {
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

int RunSave(const RunContext& options) {
    const std::string& file = options.file;
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
