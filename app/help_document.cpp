#include "app/help_document.h"

#include <cinttypes>
#include <string>

#include "app/help_document_glue.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/text/format.h"
#include "app/text/texts.h"

namespace {

// The shell's results that the user gets a specific advice for.
constexpr std::intptr_t kShellFileNotFound = 2;
constexpr std::intptr_t kShellPathNotFound = 3;
constexpr std::intptr_t kShellNoAssociation = 31;
constexpr std::intptr_t kShellLastError = 32;

// The shell's result is shown as an unsigned 64-bit number.
std::string HelpFailureText(std::intptr_t result) {
    return FormatText("%s\n\r[%s: %" PRIu64 "]", g_lang.text.MsgHelpFailed, g_lang.text.WordErrorCode,
                      static_cast<std::uint64_t>(result));
}

}  // namespace

void OpenHelpDocument() {
    const std::intptr_t result = ShellOpenFile(g_shell.window, "open", kHelpDocumentPath, kShowRestore);
    if (result > kShellLastError) return;
    if (result == kShellFileNotFound || result == kShellPathNotFound) {
        ReportMessage(g_lang.text.MsgHelpNotFound, kMsgError);
        ReportMessage(g_lang.text.MsgHelpFolderHint, kMsgHint);
    } else if (result == kShellNoAssociation) {
        ReportMessage(g_lang.text.MsgHelpNoViewer, kMsgWarning);
        ReportMessage(g_lang.text.MsgInstallViewer, kMsgHint);
    } else {
        ReportMessage(HelpFailureText(result).c_str(), kMsgError);
    }
}
