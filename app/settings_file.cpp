#include "app/settings_file.h"

#include <cstdio>
#include <cstring>

#include "app/message_box.h"
#include "app/texts.h"
#include "ui/tab_pages.h"

// The file is a text-mode file: "\n" in the program is CR LF on disk. Stdio is
// used in binary mode with that translation done here, so the bytes on disk
// are the same on every platform the code is built for.

namespace {

constexpr int kLineBufferSize = 80;  // each read takes at most 79 characters
constexpr char kEndOfTextFile = 0x1A;  // Ctrl+Z ends a text-mode file

constexpr const char kLanguageRu[] = "Language = RU;\n";
constexpr const char kLanguageEn[] = "Language = EN;\n";
constexpr const char kTabSerial[] = "TabCtrl = KRT_KRN;\n";
constexpr const char kTabUsb[] = "TabCtrl = USB_USB;\n";

// Reads one text line like fgets with a buffer of `size`: up to size-1
// characters, the line break included; CR LF reads as "\n". Returns the number
// of characters stored, 0 at the end of the file.
int ReadTextLine(std::FILE* file, char* buffer, int size) {
    int count = 0;
    while (count < size - 1) {
        int c = std::fgetc(file);
        if (c == kEndOfTextFile) {
            std::fseek(file, 0, SEEK_END);  // nothing after it is read, now or later
            break;
        }
        if (c == EOF) break;
        if (c == '\r') {
            int next = std::fgetc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        buffer[count++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[count] = '\0';
    return count;
}

void WriteTextLine(std::FILE* file, const char* line) {
    std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') length--;
    std::fwrite(line, 1, length, file);
    std::fwrite("\r\n", 1, 2, file);
}

template <std::size_t N>
bool LineEquals(const char* read, int length, const char (&expected)[N]) {
    return length == static_cast<int>(N - 1) && std::memcmp(read, expected, N - 1) == 0;
}

}  // namespace

void LoadSettings() {
    std::FILE* file = std::fopen(kSettingsFileName, "rb");
    if (file == nullptr) {
        g_lang.current = kLanguageRussian;
        g_tabs.readerModel = kReaderSerial;
        file = std::fopen(kSettingsFileName, "wb");
        if (file == nullptr) return;  // e.g. a read-only folder: run with the defaults
        WriteTextLine(file, kLanguageRu);
        WriteTextLine(file, kTabSerial);
        std::fclose(file);
        return;
    }
    char line[kLineBufferSize];
    int length = 0;
    for (int read = 0; (length = ReadTextLine(file, line, kLineBufferSize)) > 0; ++read) {
        if (read == 0) {
            g_lang.current = LineEquals(line, length, kLanguageEn) ? kLanguageEnglish : kLanguageRussian;
        } else if (read == 1) {
            g_tabs.readerModel = LineEquals(line, length, kTabUsb) ? kReaderUsb : kReaderSerial;
        }
    }
    std::fclose(file);
}

void SaveSettings() {
    std::FILE* file = std::fopen(kSettingsFileName, "r+b");
    if (file == nullptr) {
        ReportMessage(g_lang.text.MsgSaveFailed, kMsgWarning);
        return;
    }
    WriteTextLine(file, g_lang.current == kLanguageEnglish ? kLanguageEn : kLanguageRu);
    WriteTextLine(file, g_tabs.readerModel == kReaderUsb ? kTabUsb : kTabSerial);
    std::fclose(file);
}
