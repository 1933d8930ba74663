#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "protocol/settings_codec.h"

// Settings as people write them: "key=value" arguments and profile files
// ("model = krx", then "key = value" lines, "#" comments). Checked in full
// before any byte goes to a reader.

enum class ProfileError {
    kNone,
    kSyntax,        // not "key = value"
    kNoModel,       // the first setting line is not "model = krx|usb"
    kUnknownModel,  // model is neither krx nor usb
    kUnknownKey,    // no setting of either model has this key
    kOtherModel,    // the key belongs to the other model
    kWrongValue,    // not one of the setting's values
    kDuplicate,     // the key was given twice
    kUnused,        // the output type with format touch-memory
    kMixedModels,   // key=value arguments of both models
    kTooLarge,      // the file is over kProfileMaxBytes
    kLineTooLong,   // a line is over kProfileMaxLine
};

// A profile holds a dozen short lines: these bounds keep a wrong file (a log, /dev/zero) from being read
// whole or echoed into a message.
constexpr std::size_t kProfileMaxBytes = 64 * 1024;
constexpr std::size_t kProfileMaxLine = 1024;

struct ProfileResult {
    ProfileError error = ProfileError::kNone;
    int line = 0;             // of the error, counted from 1 (0 for arguments)
    std::string subject;      // the key or the text at fault
    std::string value;        // kWrongValue, kUnknownModel: the value given
    std::string allowed;      // kWrongValue, kUnknownModel: the values allowed, "a|b|c"
    ReaderSettings settings;  // the values given; kNoValue for the others
};

// At most kProfileMaxBytes of `in` into *text; false (kTooLarge) when there is more, and then the rest is
// left unread.
bool ReadProfileText(std::istream& in, std::string* text);

// A profile file's text (UTF-8, a byte-order mark allowed).
ProfileResult ParseProfile(const std::string& text);

// "key=value" arguments; the model is the one the keys belong to, or `model`
// (-1: any) which they must then match.
ProfileResult ParseAssignments(const std::vector<std::string>& assignments, int model);

// kReaderSerial for "krx", kReaderUsb for "usb", -1 for any other name.
int ModelNamed(const std::string& name);

// The names of a setting's values in the table's order: "dynamic|static|off".
std::string ValueList(const SettingInfo& setting);

// The key of a setting of `model` ("interface"), "?" for none.
const char* KeyOfSetting(int model, SettingId id);

// The settings in use that have a value, as (key, value name) pairs in the table's order.
std::vector<std::pair<std::string, std::string>> SettingsInUse(const ReaderSettings& settings);

// The profile of a reader's settings: every setting in use.
std::string FormatProfile(const ReaderSettings& settings);
