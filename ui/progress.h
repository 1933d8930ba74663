#pragma once

// The progress window of an operation's wait and the operation timers. Starting and ending a wait are
// declared with the serial subsystem's view (serial/port_view.h), which they implement.

constexpr int kProgressWidth = 291;
constexpr int kProgressHeight = 50;
// The progress window's top-left corner lies this far left of and above the screen's centre.
constexpr int kProgressCentreOffsetX = 148;
constexpr int kProgressCentreOffsetY = 25;

// One timer tick of operation 1, 2 or 3; true when it has just ended (timer
// stopped, progress window destroyed). The caller then runs the end action and
// enables the main window.
bool StepOperation(int timerId);

// The operation whose wait runs now; 0 when none does.
int RunningOperation();
