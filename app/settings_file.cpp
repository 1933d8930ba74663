#include "app/settings_file.h"

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/settings_text.h"
#include "app/text/texts.h"

// Binary stdio: the text's CR LF line ends are the settings text's own, so the
// bytes on disk are the same on every platform the code is built for.

namespace {

std::string ReadAll(std::FILE* file) {
    std::string bytes;
    char chunk[256];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, count);
    return bytes;
}

// False when not all of it went in (a full disk shows at the latest when the file is closed).
bool WriteSettings(std::FILE* file, const AppSettings& settings) {
    const std::string text = FormatSettingsText(settings);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

void LoadSettings() {
    std::FILE* file = std::fopen(kSettingsFileName, "rb");
    if (file == nullptr) {
        const AppSettings defaults;
        g_lang.current = defaults.language;
        g_shell.readerModel = defaults.readerModel;
        file = std::fopen(kSettingsFileName, "wb");
        if (file == nullptr) return;    // e.g. a read-only folder: run with the defaults
        WriteSettings(file, defaults);  // the defaults are in force whether or not they went in
        return;
    }
    const AppSettings settings = ParseSettingsText(ReadAll(file));
    std::fclose(file);
    g_lang.current = settings.language;
    g_shell.readerModel = settings.readerModel;
}

void SaveSettings() {
    // In place: whatever follows the two lines stays.
    std::FILE* file = std::fopen(kSettingsFileName, "r+b");
    if (file == nullptr || !WriteSettings(file, {g_lang.current, g_shell.readerModel})) {
        ReportMessage(g_lang.text.MsgSaveFailed, kMsgWarning);
    }
}
