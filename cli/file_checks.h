#pragma once

#include <string>

#include "base/file_system_glue.h"

// The log is appended to only where its name is no link: a link planted there would send the lines, with the
// rights of whoever runs mz6, into any file it names. A device or a pipe (/dev/full, NUL, a fifo) is written
// as given.
bool LogMayBeWritten(const OpenedFile& opened);

// The file a save replaces is the one it looked at before the reader was asked: the same file, whatever it
// is called by now, or still nothing.
bool SameSaveTarget(const PathFacts& checked, const PathFacts& now);

// The folder a path's last name is in: "." for a bare name; a root ("/", "C:\\") keeps its separator.
std::string FolderOf(const std::string& path);

// The file that a save to a path replaces: the path itself, or where its links lead, so that a link stays and
// its target is replaced in the target's own folder. A link that does not say where it leads (a Windows reparse
// point: a rename replaces it itself) is replaced as it is.
struct SaveTarget {
    std::string path;                       // the file replaced, or where it is made; where facts.error arose
    PathFacts facts;                        // what and which it is
    PathKind refused = PathKind::kMissing;  // what is there instead of a file: kLink for a loop of links
};
SaveTarget LocateSaveTarget(const std::string& path);
