#include "app/message_box.h"

#include <string>

#include "app/main_window.h"
#include "app/message_box_glue.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "base/format.h"

namespace {

// A box gives its owner back enabled when it closes; under another box or dialog the owner stays disabled.
void BoxClosed() {
    if (--g_shell.boxesUp > 0) WindowEnable(g_shell.window, false);
}

}  // namespace

void ReportMessage(const char* text, unsigned kind) {
    ++g_shell.boxesUp;
    ShowMessage(g_shell.window, text, g_lang.text.CaptionMessage, 0, kind);
    BoxClosed();
}

void ReportSerialError(int error, const char* what) {
    const std::string text = FormatText("%s [%d] %s", g_lang.text.WordError, error, what);
    ++g_shell.boxesUp;
    ShowSystemMessage(g_shell.window, text.c_str(), g_lang.text.CaptionMessage, kStyleIconError);
    BoxClosed();
}

void EnableMainWindow() {
    if (g_shell.boxesUp == 0) WindowEnable(g_shell.window, true);
}
