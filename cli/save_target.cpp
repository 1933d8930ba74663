#include "cli/save_target.h"

#include "base/format.h"
#include "cli/command_output.h"
#include "cli/file_checks.h"

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
