#include "app/single_instance.h"

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "product.h"

namespace {

constexpr const char* kInstanceName = "Local\\" PRODUCT_NAME " " VERSION_SHORT;

// The program's window by its class and title: another program's window with the same title is not it. A
// language switch whose save failed leaves a copy titled in the language the file does not hold.
WindowHandle RunningWindow() {
    WindowHandle window = WindowFindTopLevel(kMainWindowClass, kRussianTexts.WindowTitle);
    return window != nullptr ? window : WindowFindTopLevel(kMainWindowClass, kEnglishTexts.WindowTitle);
}

}  // namespace

bool AnotherCopyRuns() {
    const InstanceClaim claim = ClaimSingleInstance(kInstanceName);
    WindowHandle running = RunningWindow();
    for (int waited = 0; running == nullptr && claim == InstanceClaim::kTaken && waited < kFirstWindowWaitMs;
         waited += kFirstWindowPollMs) {
        SleepMilliseconds(kFirstWindowPollMs);
        if (SingleInstanceFreed()) break;  // the first copy ended before its window: the claim is this one's
        running = RunningWindow();
    }
    // A holder that shows no window by then (hung, or any program of the user that took the name) does not
    // keep the program off the screen: this start runs as the only copy.
    if (running == nullptr) return false;
    if (WindowIsMinimized(running)) WindowRestore(running);
    WindowToForeground(running);
    return true;
}
