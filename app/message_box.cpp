#include "app/message_box.h"

#include <string>

#include "app/format.h"
#include "app/main_window.h"
#include "app/message_box_glue.h"
#include "app/texts.h"
#include "ui/window_ops_glue.h"

namespace {

// A box gives its owner back enabled when it closes; under another box or dialog the owner stays disabled.
void BoxClosed() {
    if (--g_main.boxesUp > 0) WindowEnable(g_main.window, false);
}

}  // namespace

void ReportMessage(const char* text, unsigned kind) {
    ++g_main.boxesUp;
    ShowMessage(g_main.window, text, g_lang.text.CaptionMessage, 0, kind);
    BoxClosed();
}

void ReportSerialError(int error, const char* what) {
    const std::string text = FormatText("%s [%d] %s", g_lang.text.WordError, error, what);
    ++g_main.boxesUp;
    ShowSystemMessage(g_main.window, text.c_str(), g_lang.text.CaptionMessage, kStyleIconError);
    BoxClosed();
}

void EnableMainWindow() {
    if (g_main.boxesUp == 0) WindowEnable(g_main.window, true);
}
