#include "app/settings_file.h"

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/settings_text.h"
#include "app/text/texts.h"
#include "base/file_system_glue.h"

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

// The file opened, when it is a plain file with this one name (a second name, a hard link, is another's way
// in); kNoFile otherwise, with `found` what is there.
FileHandle OpenPlainFile(bool forUpdate, PathFacts* found) {
    FileHandle file = kNoFile;
    *found = OpenPath(kSettingsFileName, forUpdate, &file);
    const bool plain = found->error == 0 && found->kind == PathKind::kFile && found->names == 1;
    if (!plain && file != kNoFile) CloseFile(file);
    return plain ? file : kNoFile;
}

}  // namespace

void LoadSettings() {
    PathFacts found;
    const FileHandle file = OpenPlainFile(false, &found);
    if (file == kNoFile) {
        // A link, a folder, a device or a file in use: the defaults, and what is there is left alone.
        const AppSettings defaults;
        UseSettings(defaults);
        // The defaults are in force whether or not the file could be made (a read-only folder).
        if (found.kind == PathKind::kMissing && found.error == 0)
            CreateExclusive(kSettingsFileName, FormatSettingsText(defaults));
        return;
    }
    const std::string bytes = ReadUpTo(file, kSettingsReadLimit);
    CloseFile(file);
    UseSettings(ParseSettingsText(bytes));
}

void SaveSettings() {
    // In place: whatever follows the two lines stays.
    PathFacts found;
    const FileHandle file = OpenPlainFile(true, &found);
    bool saved = file != kNoFile;
    if (saved) {
        saved = WriteAll(file, FormatSettingsText({g_lang.current, g_shell.readerModel}));
        saved = CloseFile(file) && saved;
    }
    if (!saved) ReportMessage(g_lang.text.MsgSaveFailed, kMsgWarning);
}
