#include "ui/progress.h"

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "ui/display_scale.h"
#include "ui/progress_glue.h"
#include "ui/tab_pages.h"
#include "ui/window_ops_glue.h"

ProgressState g_progress;

namespace {

int EndTick(int operation) { return operation == kOpSearch ? 100 : 2; }

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
    if (g_progress.running == 0) return;
    TimerStop(g_main.window, g_progress.running);
    WindowDestroy(g_progress.window);
    g_progress = ProgressState{};
}

}  // namespace

void StartOperationWithProgress(int operation, int periodMs) {
    const ScreenSize screen = PrimaryScreenSize();
    const int x = screen.width / 2 - Scaled(148);
    const int y = screen.height / 2 - Scaled(25);
    if (!IsOperation(operation)) return;
    EndRunningOperation();
    g_progress.window = ProgressCreate(g_main.window, ProgressTitle(operation, g_tabs.readerModel), x, y,
                                       Scaled(kProgressWidth), Scaled(kProgressHeight));
    g_progress.running = operation;
    ProgressSetRange(g_progress.window, EndTick(operation));
    ProgressSetStep(g_progress.window, 1);
    ProgressSetPosition(g_progress.window, 0);
    WindowEnable(g_main.window, false);
    TimerStart(g_main.window, operation, periodMs);
}

void EndReplyWait() {
    if (g_progress.running != kOpRead && g_progress.running != kOpWrite) return;
    EndRunningOperation();
    EnableMainWindow();
}

bool StepOperation(int timerId) {
    // A tick already queued for an operation that has been replaced is ignored.
    if (!IsOperation(timerId) || timerId != g_progress.running) return false;
    ProgressStep(g_progress.window);
    g_progress.ticks++;
    if (g_progress.ticks != EndTick(timerId)) return false;
    EndRunningOperation();
    return true;
}
