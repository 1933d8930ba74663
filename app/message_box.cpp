#include "app/main_window.h"
#include "app/message_box.h"
#include "app/texts.h"

void ReportMessage(const char* text, unsigned kind) {
    ShowMessage(g_main.window, text, g_lang.text.CaptionMessage, 0, kind);
}
