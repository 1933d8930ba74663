#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "tests/unit/fakes/fakes.h"

// Who runs when several starts meet: the claim decides, and the first copy's window is waited for.

TEST(SingleInstance, TheClaimDecidesAndTheLoserWaitsForTheFirstWindowOrTakesOverFromACopyThatEnded) {
    constexpr int kPolls = kFirstWindowWaitMs / kFirstWindowPollMs;
    struct Row {
        const char* what;
        InstanceClaim claim;
        int windowAtLookup, freedAtPoll;
        bool ends;
        int polls, forwarded;
    } rows[] = {
        {"first, alone", InstanceClaim::kFirst, -1, -1, false, 0, 0},
        {"first, but a window has the title", InstanceClaim::kFirst, 0, -1, true, 0, 1},
        {"taken, its window comes on the third wait", InstanceClaim::kTaken, 6, -1, true, 3, 1},
        {"taken, the window titled in the other language", InstanceClaim::kTaken, 1, -1, true, 0, 1},
        {"taken, no window ever", InstanceClaim::kTaken, -1, -1, true, kPolls, 0},
        {"taken, the holder ended before its window", InstanceClaim::kTaken, -1, 2, false, 2, 0},
        {"elevated first copy: the title alone, no wait", InstanceClaim::kUnavailable, -1, -1, false, 0, 0},
        {"elevated first copy with its window", InstanceClaim::kUnavailable, 1, -1, true, 0, 1},
    };
    for (const Row& row : rows) {
        for (bool minimized : {false, true}) {
            ResetFakes();
            g_fakeInstance.claim = row.claim;
            g_fakeInstance.windowAtLookup = row.windowAtLookup;
            g_fakeInstance.freedAtPoll = row.freedAtPoll;
            g_fakeInstance.minimized = minimized;
            EXPECT_EQ(AnotherCopyRuns(), row.ends) << row.what;
            EXPECT_EQ(g_fakeInstance.polls, row.polls) << row.what;
            EXPECT_EQ(g_fakeInstance.forwarded, row.forwarded) << row.what;
            EXPECT_EQ(g_fakeInstance.restored, minimized ? row.forwarded : 0) << row.what;
        }
    }
}
