#include "app/settings_file.h"

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/settings_file_glue.h"
#include "app/settings_text.h"
#include "app/text/texts.h"

// Users may write the file, and the program is started by others too: it is taken only as a plain file,
// read only as far as its two lines can reach, and never written through a link. The bytes are the
// settings text's own (CR LF line ends), the same on every platform the code is built for.

namespace {

// The parse looks at two reads of at most 79 characters, a CR LF each: 160 bytes. The program writes 36.
constexpr std::size_t kSettingsReadLimit = 1024;

void UseSettings(const AppSettings& settings) {
    g_lang.current = settings.language;
    g_shell.readerModel = settings.readerModel;
}

}  // namespace

void LoadSettings() {
    SettingsFileHandle file = nullptr;
    const FoundFile found = OpenSettingsFile(kSettingsFileName, false, &file);
    if (found != FoundFile::kPlain) {
        // A link, a folder, a device or a file in use: the defaults, and what is there is left alone.
        const AppSettings defaults;
        UseSettings(defaults);
        // The defaults are in force whether or not the file could be made (a read-only folder).
        if (found == FoundFile::kMissing) CreateSettingsFile(kSettingsFileName, FormatSettingsText(defaults));
        return;
    }
    const std::string bytes = ReadSettingsFileStart(file, kSettingsReadLimit);
    CloseSettingsFile(file);
    UseSettings(ParseSettingsText(bytes));
}

void SaveSettings() {
    // In place: whatever follows the two lines stays.
    SettingsFileHandle file = nullptr;
    bool saved = OpenSettingsFile(kSettingsFileName, true, &file) == FoundFile::kPlain;
    if (saved) {
        saved = WriteSettingsFileStart(file, FormatSettingsText({g_lang.current, g_shell.readerModel}));
        saved = CloseSettingsFile(file) && saved;
    }
    if (!saved) ReportMessage(g_lang.text.MsgSaveFailed, kMsgWarning);
}
