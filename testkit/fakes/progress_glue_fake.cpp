#include "testkit/fakes/fakes.h"
#include "ui/progress_glue.h"

static char g_progressWindow;

WindowHandle ProgressCreate(WindowHandle, const char*, int, int, int, int) {
    g_fakeWindow.progressWindows++;
    return &g_progressWindow;
}
void ProgressSetRange(WindowHandle, int) {}
void ProgressSetStep(WindowHandle, int) {}
void ProgressSetPosition(WindowHandle, int) {}
void ProgressStep(WindowHandle) {}
void WindowDestroy(WindowHandle window) { g_fakeWindow.progressWindows -= window == &g_progressWindow ? 1 : 0; }
void TimerStart(WindowHandle, int id, int) {
    if (!g_fakeWindow.timers.insert(id).second) ++g_fakeWindow.timerRestarts;
}
void TimerStop(WindowHandle, int id) { g_fakeWindow.timers.erase(id); }
