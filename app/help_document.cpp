#include "app/help_document.h"

#include <cinttypes>
#include <string>

#include "app/help_document_glue.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/text/texts.h"
#include "base/format.h"

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

// The document's path (ASCII) as UTF-16, after a folder.
std::u16string HelpDocumentIn(const std::u16string& folder) {
    std::u16string path = folder;
    for (const char* c = kHelpDocumentPath; *c != '\0'; ++c) path += static_cast<char16_t>(*c);
    return path;
}

}  // namespace

void OpenHelpDocument() {
    std::intptr_t result = ShellOpenFile(g_shell.window, "open", HelpDocumentIn(u"").c_str(), kShowRestore);
    if (result == kShellFileNotFound || result == kShellPathNotFound) {
        // Started from another folder (a console elsewhere, the zip opened in Explorer): the program's own.
        const std::u16string program = ProgramPath();
        const std::u16string folder = program.substr(0, program.find_last_of(u"\\/") + 1);
        if (!folder.empty()) {
            result = ShellOpenFile(g_shell.window, "open", HelpDocumentIn(folder).c_str(), kShowRestore);
        }
    }
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
