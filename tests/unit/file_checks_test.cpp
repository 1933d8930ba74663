#include <gtest/gtest.h>

#include "cli/file_checks.h"
#include "testkit/fakes/fakes.h"

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

// A save replaces the file its links end at, each hop read from where the link is; a link that does not say where
// it leads is replaced itself; a folder, device or loop of links is named, never replaced.
TEST(FileChecks, ASaveLandsOnTheFileItsLinksEndAtAndNeverOnWhatIsNoFile) {
    const auto link = [](const char* text, PathKind leadsTo) {
        FakeItem item{PathKind::kLink};
        item.linkText = text, item.leadsTo = leadsTo;
        return item;
    };
    FakeItem unreadable;
    unreadable.fails = "l";
    g_fakeFiles = {};
    g_fakeFiles.items = {
        {"/u/p.txt", {}},
        {"/u/rel", link("p.txt", PathKind::kFile)},
        {"/u/abs", link("/data/new.txt", PathKind::kMissing)},
        {"/u/hop", link("sub/next", PathKind::kMissing)},
        {"/u/sub/next", link("../gone.txt", PathKind::kMissing)},
        {"C:\\u\\drive", link("D:\\x.txt", PathKind::kMissing)},
        {"C:\\u\\reparse", link("", PathKind::kMissing)},
        {"/u/dir", link("/tmp", PathKind::kFolder)},
        {"/dev/ttyS0", {PathKind::kDevice}},
        {"/u/loop", link("loop", PathKind::kMissing)},
        {"/x/err", unreadable},
        {"/u/bad", link("/x/err", PathKind::kMissing)},
    };
    const std::tuple<const char*, const char*, PathKind, bool> rows[] = {
        // saved to; the file replaced (or where the looking failed); what is there instead of a file; failed
        {"/u/p.txt", "/u/p.txt", PathKind::kMissing, false},
        {"new.txt", "new.txt", PathKind::kMissing, false},
        {"/u/rel", "/u/p.txt", PathKind::kMissing, false},
        {"/u/abs", "/data/new.txt", PathKind::kMissing, false},
        {"/u/hop", "/u/sub/../gone.txt", PathKind::kMissing, false},
        {"C:\\u\\drive", "D:\\x.txt", PathKind::kMissing, false},
        {"C:\\u\\reparse", "C:\\u\\reparse", PathKind::kMissing, false},
        {"/u/dir", "/u/dir", PathKind::kFolder, false},
        {"/dev/ttyS0", "/dev/ttyS0", PathKind::kDevice, false},
        {"/u/loop", "/u/loop", PathKind::kLink, false},
        {"/u/bad", "/x/err", PathKind::kMissing, true},
    };
    for (const auto& [path, target, refused, failed] : rows) {
        const SaveTarget found = LocateSaveTarget(path);
        EXPECT_EQ(found.path + (found.facts.error != 0 ? " failed" : ""),
                  target + std::string(failed ? " failed" : ""));
        EXPECT_EQ(found.refused, refused) << path;
    }
    const std::pair<const char*, const char*> folders[] = {
        {"name", "."},        {"/name", "/"},           {"/a/name", "/a"},
        {"C:\\name", "C:\\"}, {"C:\\a\\name", "C:\\a"}, {"a\\b/name", "a\\b"},
    };
    for (const auto& [path, folder] : folders) EXPECT_EQ(FolderOf(path), folder);
}
