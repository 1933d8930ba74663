#include <algorithm>

#include "testkit/fakes/fakes.h"
#include "ui/progress_glue.h"

static char g_progressWindow;

WindowHandle ProgressCreate(WindowHandle, const char*, int, int, int, int) {
    g_fakeWindow.progressWindows++;
    return &g_progressWindow;
}
void ProgressSetRange(WindowHandle, int range) { g_fakeWindow.progressRange = range; }
void ProgressSetStep(WindowHandle, int step) { g_fakeWindow.progressStep = step; }
void ProgressSetPosition(WindowHandle, int position) { g_fakeWindow.progressPosition = position; }
void ProgressStep(WindowHandle) {  // as the system's bar: it stops at the end of its range
    g_fakeWindow.progressPosition =
        std::min(g_fakeWindow.progressPosition + g_fakeWindow.progressStep, g_fakeWindow.progressRange);
}
void WindowDestroy(WindowHandle window) { g_fakeWindow.progressWindows -= window == &g_progressWindow ? 1 : 0; }
void TimerStart(WindowHandle, int id, int) {
    if (!g_fakeWindow.timers.insert(id).second) ++g_fakeWindow.timerRestarts;
}
void TimerStop(WindowHandle, int id) { g_fakeWindow.timers.erase(id); }
