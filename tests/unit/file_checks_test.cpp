#include <gtest/gtest.h>

#include "cli/file_checks.h"

TEST(FileChecks, TheLogIsWrittenOnlyIntoWhatItsNameOpensAsNoLink) {
    std::FILE* const open = stdout;  // any open stream: only its presence counts
    const struct {
        OpenedFile opened;
        bool written;
    } rows[] = {
        {{open, PathKind::kFile}, true},           {{open, PathKind::kDevice}, true},  // /dev/full, NUL
        {{open, PathKind::kFifo}, true},           {{nullptr, PathKind::kLink}, false},
        {{open, PathKind::kLink}, false},          {{open, PathKind::kFolder}, false},
        {{open, PathKind::kMissing}, false},  // what it is could not be read from the handle
        {{nullptr, PathKind::kMissing, 2}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LogMayBeWritten(row.opened), row.written) << static_cast<int>(row.opened.kind);
}

TEST(FileChecks, ASaveReplacesOnlyTheFileItLookedAtBeforeTheReaderWasAsked) {
    const auto file = [](std::uint64_t volume, std::uint64_t index) {
        PathFacts facts;
        facts.kind = PathKind::kFile;
        facts.volume = volume;
        facts.index = index;
        return facts;
    };
    PathFacts missing, unreadable;
    unreadable.error = 5;
    const struct {
        const char* what;
        PathFacts checked, now;
        bool same;
    } rows[] = {
        {"the same file", file(7, 42), file(7, 42), true},
        {"still nothing there", missing, missing, true},
        {"another file put in its place", file(7, 42), file(7, 43), false},
        {"the same index on another volume", file(7, 42), file(8, 42), false},
        {"a file made where there was none", missing, file(7, 42), false},
        {"the file deleted meanwhile", file(7, 42), missing, false},
        {"no longer readable", file(7, 42), unreadable, false},
    };
    for (const auto& row : rows) EXPECT_EQ(SameSaveTarget(row.checked, row.now), row.same) << row.what;
}
