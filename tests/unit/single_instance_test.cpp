#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "testkit/fakes/fakes.h"

TEST(SingleInstance, TheClaimDecidesAndTheLoserWaitsForTheFirstWindowOrRunsAsTheOnlyCopy) {
    // The other copies as the start sees them, whether the start ends, and the waits.
    using Row = std::tuple<const char*, FakeInstance, bool, int>;
    const Row rows[] = {
        // each wait looks for both titles
        {"first, alone", {InstanceClaim::kFirst, -1, -1}, false, 0},
        {"first, but a copy's window is there", {InstanceClaim::kFirst, 0, -1}, true, 0},
        {"taken, the window comes on the third wait", {InstanceClaim::kTaken, 6, -1}, true, 3},
        {"taken, the window titled in the other language", {InstanceClaim::kTaken, 1, -1}, true, 0},
        // a hung first copy, or another program holding the name: never an exit with nothing on the screen
        {"taken, no window ever", {InstanceClaim::kTaken, -1, -1}, false, kFirstWindowWaitMs / kFirstWindowPollMs},
        {"first, another program's window has the title", {InstanceClaim::kFirst, 0, -1, "Notepad"}, false, 0},
        {"taken, the holder ended before its window", {InstanceClaim::kTaken, -1, 2}, false, 2},
        {"the first copy runs elevated: its window alone, no wait", {InstanceClaim::kUnavailable, -1, -1}, false, 0},
    };
    for (const auto& [what, others, ends, polls] : rows) {
        StartFreshProgram();
        g_fakeInstance = others;
        EXPECT_EQ(AnotherCopyRuns(), ends) << what;
        EXPECT_EQ(g_fakeInstance.polls, polls) << what;
        EXPECT_EQ(g_fakeInstance.restored + g_fakeInstance.forwarded, ends ? 2 : 0) << what;
    }
}

TEST(SingleInstance, AStartThatCannotMakeItsWindowEndsWithNothingRunning) {
    for (char fails : {'t', 'c', 'w'}) {  // 't': another copy runs, its window brought forward
        StartFreshProgram();
        g_fakeInstance = {fails == 't' ? InstanceClaim::kTaken : InstanceClaim::kFirst, fails == 't' ? 0 : -1, -1};
        g_fakeInstance.startFails = fails;
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(g_fakeWindow.made.empty(), fails != 'w') << fails;  // asked for, never shown
        EXPECT_EQ(g_fakeWindow.made.find("shown"), std::string::npos) << fails;
        EXPECT_TRUE(g_fakeWindow.timers.empty() && g_fakeWindow.menusAlive == 0) << fails;  // no search, no menu
    }
}
