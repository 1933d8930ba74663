#include "cli/save_target.h"

#include "app/text/format.h"
#include "cli/command_output.h"

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::string::npos) return ".";
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');  // "/", "C:\"
    return path.substr(0, root ? slash + 1 : slash);
}

int FindSaveTarget(const RunContext& options, const std::string& path, std::string* target, PathFacts* found) {
    constexpr int kMostLinks = 40;  // as many as the system follows in one path
    std::string at = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        const PathFacts facts = LookAtPath(at);
        if (facts.error != 0) {
            return Fail(options, RunFailure::kFileError, at + ": " + SystemErrorText(facts.error), kExitFailed);
        }
        const PathKind kind = facts.kind == PathKind::kLink ? facts.leadsTo : facts.kind;
        if (kind >= PathKind::kFolder) {
            const char* what = options.texts->pathKinds[static_cast<int>(kind) - static_cast<int>(PathKind::kLink)];
            return Fail(options, RunFailure::kUsage, FormatText(options.texts->notAFile, path.c_str(), what),
                        kExitUsage);
        }
        if (facts.kind != PathKind::kLink) {
            *target = at;
            *found = facts;
            return -1;
        }
        const bool absolute = facts.linkText.find_first_of(kPathSeparators) == 0 ||
                              (facts.linkText.size() > 1 && facts.linkText[1] == ':');
        at = absolute ? facts.linkText : FolderOf(at) + "/" + facts.linkText;
    }
    return Fail(options, RunFailure::kUsage,
                FormatText(options.texts->notAFile, path.c_str(), options.texts->pathKinds[0]), kExitUsage);
}
