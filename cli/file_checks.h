#pragma once

#include "cli/system_glue.h"

// The log is appended to only where its name is no link: a link planted there would send the lines, with the
// rights of whoever runs mz6, into any file it names. A device or a pipe (/dev/full, NUL, a fifo) is written
// as given.
bool LogMayBeWritten(const OpenedFile& opened);

// The file a save replaces is the one it looked at before the reader was asked: the same file, whatever it
// is called by now, or still nothing.
bool SameSaveTarget(const PathFacts& checked, const PathFacts& now);
