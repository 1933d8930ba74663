#pragma once

#include <string>

#include "base/language_id.h"
#include "protocol/reader_model.h"

// The text of appconfig.ini: two fixed lines, matched byte for byte, with
// CR LF line ends on disk.

struct AppSettings {
    int language = kLanguageRussian;
    int readerModel = kReaderSerial;
};

// The settings in the file's bytes. The first line read chooses English only
// when it is exactly "Language = EN;", the second the USB reader only when it is
// exactly "TabCtrl = USB_USB;"; anything else, or a missing line, gives the
// default. Lines are read as a text-mode read with an 80-byte buffer would:
// at most 79 characters at a time, CR LF as one line end, and Ctrl+Z ends
// the text.
AppSettings ParseSettingsText(const std::string& bytes);

// The file's bytes for these settings.
std::string FormatSettingsText(const AppSettings& settings);
