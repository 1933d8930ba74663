#include "ui/progress.h"

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "serial/port_view.h"
#include "ui/display_scale.h"
#include "ui/progress_glue.h"
#include "ui/window_state.h"

namespace {

// The tick on which an operation's wait ends: 100 of 10 ms for a search, 2 of 500 ms for a reply.
constexpr int kSearchEndTick = 100;
constexpr int kReplyEndTick = 2;

int EndTick(int operation) { return operation == kOpSearch ? kSearchEndTick : kReplyEndTick; }

const char* ProgressTitle(int operation, int readerModel) {
    const TextSlots& text = g_lang.text;
    const bool usb = readerModel == kReaderUsb;
    switch (operation) {
        case kOpSearch:
            return usb ? text.ProgressSearchUsb : text.ProgressSearchSerial;
        case kOpRead:
            return usb ? text.ProgressReadUsb : text.ProgressReadSerial;
        default:
            return usb ? text.ProgressWriteUsb : text.ProgressWriteSerial;
    }
}

bool IsOperation(int id) { return id == kOpSearch || id == kOpRead || id == kOpWrite; }

// Stops the running operation's timer and destroys its progress window.
void EndRunningOperation() {
    if (g_window.progress.running == 0) return;
    TimerStop(g_shell.window, g_window.progress.running);
    WindowDestroy(g_window.progress.window);
    g_window.progress = ProgressState{};
}

}  // namespace

void StartOperationWithProgress(int operation, int periodMs) {
    const ScreenSize screen = PrimaryScreenSize();
    const int x = screen.width / 2 - Scaled(kProgressCentreOffsetX);
    const int y = screen.height / 2 - Scaled(kProgressCentreOffsetY);
    if (!IsOperation(operation)) return;
    EndRunningOperation();
    g_window.progress.window = ProgressCreate(g_shell.window, ProgressTitle(operation, g_shell.readerModel), x, y,
                                              Scaled(kProgressWidth), Scaled(kProgressHeight));
    g_window.progress.running = operation;
    ProgressSetRange(g_window.progress.window, EndTick(operation));
    ProgressSetStep(g_window.progress.window, 1);
    ProgressSetPosition(g_window.progress.window, 0);
    WindowEnable(g_shell.window, false);
    TimerStart(g_shell.window, operation, periodMs);
}

void EndReplyWait() {
    if (!ReplyAwaited()) return;
    EndRunningOperation();
    EnableMainWindow();
}

bool StepOperation(int timerId) {
    // A tick already queued for an operation that has been replaced is ignored.
    if (!IsOperation(timerId) || timerId != g_window.progress.running) return false;
    ProgressStep(g_window.progress.window);
    g_window.progress.ticks++;
    if (g_window.progress.ticks != EndTick(timerId)) return false;
    EndRunningOperation();
    return true;
}

int RunningOperation() { return g_window.progress.running; }

bool ReplyAwaited() { return RunningOperation() == kOpRead || RunningOperation() == kOpWrite; }
