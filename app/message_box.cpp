#include "app/message_box.h"

#include <string>

#include "app/format.h"
#include "app/main_window.h"
#include "app/message_box_glue.h"
#include "app/texts.h"

void ReportMessage(const char* text, unsigned kind) {
    ShowMessage(g_main.window, text, g_lang.text.CaptionMessage, 0, kind);
}

void ReportSerialError(int error, const char* what) {
    const std::string text = FormatText("%s [%d] %s", g_lang.text.WordError, error, what);
    ShowSystemMessage(g_main.window, text.c_str(), g_lang.text.CaptionMessage, kStyleIconError);
}
