#pragma once

#include "app/handles.h"

// Operations that wait with a progress window; their ids are also the ids of
// the main window's timers.
enum Operation : int {
    kOpSearch = 1,  // 10 ms ticks, the search runs on the 100th
    kOpRead = 2,    // 500 ms ticks, the reply is collected on the 2nd
    kOpWrite = 3,
};
constexpr int kTimerPortWatch = 4;

constexpr int kSearchPeriodMs = 10;
constexpr int kReplyPeriodMs = 500;

constexpr int kProgressWidth = 291;
constexpr int kProgressHeight = 50;

struct ProgressState {
    WindowHandle window = nullptr;  // the progress window of the running operation
    int ticks = 0;
    int running = 0;  // the running operation, 0 when idle
};
extern ProgressState g_progress;

// Shows the operation's progress window centred on the screen, disables the
// main window and starts its timer. An operation still running is ended first
// (its window destroyed, its timer stopped), so no progress window is left behind.
void StartOperationWithProgress(int operation, int periodMs);

// One timer tick of operation 1, 2 or 3; true when it has just ended (timer
// stopped, progress window destroyed). The caller then runs the end action and
// enables the main window.
bool StepOperation(int timerId);

// Ends a running read or write wait at once (timer stopped, progress window
// destroyed) and enables the main window: the connection it waits on is gone,
// so its reply must not be read.
void EndReplyWait();
