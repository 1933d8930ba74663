#include <gtest/gtest.h>

#include "cli/file_checks.h"

TEST(FileChecks, TheLogIsWrittenOnlyIntoWhatItsNameOpensAsNoLink) {
    std::FILE* const open = stdout;  // any open stream: only its presence counts
    const std::pair<OpenedFile, bool> rows[] = {
        // the log's file as opened, and whether it is written
        {{open, PathKind::kFile}, true},     {{open, PathKind::kDevice}, true},   {{open, PathKind::kFifo}, true},
        {{open, PathKind::kLink}, false},    {{nullptr, PathKind::kLink}, false}, {{open, PathKind::kFolder}, false},
        {{open, PathKind::kMissing}, false},  // what it is could not be read from the handle
    };
    for (const auto& [opened, written] : rows) EXPECT_EQ(LogMayBeWritten(opened), written) << int(opened.kind);
}

TEST(FileChecks, ASaveReplacesOnlyTheFileItLookedAtBeforeTheReaderWasAsked) {
    const PathFacts file{PathKind::kFile, PathKind::kMissing, "", 0, 7, 42}, missing;
    PathFacts other = file, elsewhere = file, unreadable;
    other.index = 43;
    elsewhere.volume = 8;
    unreadable.error = 5;
    const std::tuple<const char*, PathFacts, PathFacts, bool> rows[] = {
        // checked, now, the same target
        {"the same file", file, file, true},
        {"still nothing there", missing, missing, true},
        {"another file put in its place", file, other, false},
        {"the same index on another volume", file, elsewhere, false},
        {"a file made where there was none", missing, file, false},
        {"the file deleted meanwhile", file, missing, false},
        {"no longer readable", file, unreadable, false},
    };
    for (const auto& [what, checked, now, same] : rows) EXPECT_EQ(SameSaveTarget(checked, now), same) << what;
}
