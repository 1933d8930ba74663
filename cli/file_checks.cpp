#include "cli/file_checks.h"

bool LogMayBeWritten(const OpenedFile& opened) {
    return opened.file != nullptr && opened.kind != PathKind::kLink && opened.kind != PathKind::kFolder &&
           opened.kind != PathKind::kMissing;
}

bool SameSaveTarget(const PathFacts& checked, const PathFacts& now) {
    if (checked.error != 0 || now.error != 0 || checked.kind != now.kind) return false;
    return checked.kind == PathKind::kMissing || (checked.volume == now.volume && checked.index == now.index);
}
