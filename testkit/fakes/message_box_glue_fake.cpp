#include <utility>

#include "app/message_box_glue.h"
#include "testkit/fakes/fakes.h"

// A box runs its own message loop while it is up: what happens there is the test's to say (not in a box
// that the loop itself shows). Closing, it gives its owner back enabled, as the system's dialogs do.
static int Show(const char* text, const char* caption, unsigned style, unsigned kind) {
    static bool inModalLoop = false;
    g_fakeWindow.boxes.push_back({text, caption, style, kind});
    if (!inModalLoop) {
        inModalLoop = true;
        if (void (*also)() = std::exchange(g_fakeWindow.inNextBox, nullptr)) also();
        if (g_fakeWindow.inEveryBox != nullptr) g_fakeWindow.inEveryBox();
        inModalLoop = false;
    }
    g_fakeWindow.enabled = true;
    return 1;  // OK
}

int ShowMessage(WindowHandle, const char* text, const char* caption, unsigned style, unsigned kind) {
    return Show(text, caption, style, kind);
}
int ShowSystemMessage(WindowHandle, const char* text, const char* caption, unsigned style) {
    return Show(text, caption, style, 0);
}
