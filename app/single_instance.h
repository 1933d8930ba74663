#pragma once

// One copy of the program runs at a time, also when two starts come in the same instant.

// How long a start that lost the claim waits for the first copy's window to appear, and how often it looks.
constexpr int kFirstWindowWaitMs = 5000;
constexpr int kFirstWindowPollMs = 50;

// Claims the session's single-instance mutex (Local\ + name and version), then looks for a running copy's
// window by its class and its title in either language. Where the claim is taken, the first copy may still
// be on its way to its window: it is waited for; if that copy ends first, or no window has come when the
// wait ends, this start runs as the only copy. Where the claim cannot be had (the first copy runs
// elevated), the window alone decides. A running copy found is restored if minimized and brought to the
// front. True when this start is to end (with 0).
bool AnotherCopyRuns();
