#include "app/single_instance.h"

#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "product.h"

namespace {

constexpr const char* kInstanceName = "Local\\" PRODUCT_NAME " " VERSION_SHORT;

// A language switch whose save failed leaves a copy titled in the language the file does not hold.
WindowHandle RunningWindow() {
    WindowHandle window = WindowFindTopLevel(kRussianTexts.WindowTitle);
    return window != nullptr ? window : WindowFindTopLevel(kEnglishTexts.WindowTitle);
}

}  // namespace

bool AnotherCopyRuns() {
    InstanceClaim claim = ClaimSingleInstance(kInstanceName);
    WindowHandle running = RunningWindow();
    for (int waited = 0; running == nullptr && claim == InstanceClaim::kTaken && waited < kFirstWindowWaitMs;
         waited += kFirstWindowPollMs) {
        SleepMilliseconds(kFirstWindowPollMs);
        if (SingleInstanceFreed()) claim = InstanceClaim::kFirst;
        running = RunningWindow();
    }
    if (running == nullptr) return claim == InstanceClaim::kTaken;
    if (WindowIsMinimized(running)) WindowRestore(running);
    WindowToForeground(running);
    return true;
}
