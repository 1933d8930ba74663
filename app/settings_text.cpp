#include "app/settings_text.h"

namespace {

constexpr std::size_t kLineBufferSize = 80;  // each read takes at most 79 characters
constexpr char kEndOfText = 0x1A;            // Ctrl+Z

constexpr char kLanguageRu[] = "Language = RU;\n";
constexpr char kLanguageEn[] = "Language = EN;\n";
constexpr char kTabSerial[] = "TabCtrl = KRT_KRN;\n";
constexpr char kTabUsb[] = "TabCtrl = USB_USB;\n";

// One read from `at`, as a line in memory: CR LF reads as "\n", a lone CR
// stays. Empty at the end of the text.
std::string ReadLine(const std::string& bytes, std::size_t* at) {
    std::string line;
    while (line.size() < kLineBufferSize - 1 && *at < bytes.size()) {
        char c = bytes[(*at)++];
        if (c == kEndOfText) {
            *at = bytes.size();  // nothing after it is read, now or later
            break;
        }
        if (c == '\r' && *at < bytes.size() && bytes[*at] == '\n') {
            c = '\n';
            ++*at;
        }
        line.push_back(c);
        if (c == '\n') break;
    }
    return line;
}

void AppendLine(std::string* text, const char* line) {
    std::string body(line);
    if (!body.empty() && body.back() == '\n') body.pop_back();
    *text += body + "\r\n";
}

}  // namespace

AppSettings ParseSettingsText(const std::string& bytes) {
    AppSettings settings;
    std::size_t at = 0;
    const std::string language = ReadLine(bytes, &at);
    if (language == kLanguageEn) settings.language = kLanguageEnglish;
    if (!language.empty() && ReadLine(bytes, &at) == kTabUsb) settings.readerModel = kReaderUsb;
    return settings;
}

std::string FormatSettingsText(const AppSettings& settings) {
    std::string text;
    AppendLine(&text, settings.language == kLanguageEnglish ? kLanguageEn : kLanguageRu);
    AppendLine(&text, settings.readerModel == kReaderUsb ? kTabUsb : kTabSerial);
    return text;
}
