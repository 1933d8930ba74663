#include "cli/file_checks.h"

bool LogMayBeWritten(const OpenedFile& opened) {
    return opened.file != nullptr && opened.kind != PathKind::kLink && opened.kind != PathKind::kFolder &&
           opened.kind != PathKind::kMissing;
}

bool SameSaveTarget(const PathFacts& checked, const PathFacts& now) {
    if (checked.error != 0 || now.error != 0 || checked.kind != now.kind) return false;
    return checked.kind == PathKind::kMissing || (checked.volume == now.volume && checked.index == now.index);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::string::npos) return ".";
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');  // "/", "C:\\"
    return path.substr(0, root ? slash + 1 : slash);
}

SaveTarget LocateSaveTarget(const std::string& path) {
    constexpr int kMostLinks = 40;  // as many as the system follows in one path
    SaveTarget found;
    found.path = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        found.facts = LookAtPath(found.path);
        if (found.facts.error != 0) return found;
        const PathKind kind = found.facts.kind == PathKind::kLink ? found.facts.leadsTo : found.facts.kind;
        if (kind >= PathKind::kFolder) {
            found.refused = kind;
            return found;
        }
        const std::string& text = found.facts.linkText;
        if (found.facts.kind != PathKind::kLink || text.empty()) return found;
        const bool absolute = text.find_first_of(kPathSeparators) == 0 || (text.size() > 1 && text[1] == ':');
        found.path = absolute ? text : FolderOf(found.path) + "/" + text;
    }
    found.refused = PathKind::kLink;
    return found;
}
