// Arbitrary bytes as the settings file: the settings read from them, written
// out and read again, must be the same settings.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AppSettings settings = ParseSettingsText(std::string(reinterpret_cast<const char*>(data), size));
    if (!IsReaderModel(settings.readerModel)) __builtin_trap();
    if (settings.language != kLanguageRussian && settings.language != kLanguageEnglish) __builtin_trap();
    const AppSettings again = ParseSettingsText(FormatSettingsText(settings));
    if (again.language != settings.language || again.readerModel != settings.readerModel) __builtin_trap();
    return 0;
}
