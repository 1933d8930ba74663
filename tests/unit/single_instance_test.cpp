#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "tests/unit/fakes/fakes.h"

TEST(SingleInstance, TheClaimDecidesAndTheLoserWaitsForTheFirstWindowOrRunsAsTheOnlyCopy) {
    struct Row {
        const char* what;
        InstanceClaim claim;
        int windowAtLookup, freedAtPoll;
        bool ends;
        int polls;
        const char* windowClass = "my Window";
    };
    const Row rows[] = {
        // each wait looks for both titles
        {"first, alone", InstanceClaim::kFirst, -1, -1, false, 0},
        {"first, but a copy's window is there", InstanceClaim::kFirst, 0, -1, true, 0},
        {"taken, the window comes on the third wait", InstanceClaim::kTaken, 6, -1, true, 3},
        {"taken, the window titled in the other language", InstanceClaim::kTaken, 1, -1, true, 0},
        // a hung first copy, or another program holding the name: never an exit with nothing on the screen
        {"taken, no window ever", InstanceClaim::kTaken, -1, -1, false, kFirstWindowWaitMs / kFirstWindowPollMs},
        {"first, another program's window has the title", InstanceClaim::kFirst, 0, -1, false, 0, "Notepad"},
        {"taken, the holder ended before its window", InstanceClaim::kTaken, -1, 2, false, 2},
        {"the first copy runs elevated: its window alone, no wait", InstanceClaim::kUnavailable, -1, -1, false, 0},
    };
    for (const Row& row : rows) {
        StartFreshProgram();
        g_fakeInstance = {row.claim, row.windowAtLookup, row.freedAtPoll, row.windowClass};
        EXPECT_EQ(AnotherCopyRuns(), row.ends) << row.what;
        EXPECT_EQ(g_fakeInstance.polls, row.polls) << row.what;
        EXPECT_EQ(g_fakeInstance.restored + g_fakeInstance.forwarded, row.ends ? 2 : 0) << row.what;
    }
}
