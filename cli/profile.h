#pragma once

#include <string>
#include <utility>
#include <vector>

#include "protocol/settings_codec.h"

// Settings as people write them: "key=value" arguments and profile files
// ("model = krx", then "key = value" lines, "#" comments). Checked in full
// before any byte goes to a reader.

enum class ProfileError {
    kNone,
    kSyntax,         // not "key = value"
    kNoModel,        // the first setting line is not "model = krx|usb"
    kUnknownModel,   // model is neither krx nor usb
    kUnknownKey,     // no setting of either model has this key
    kOtherModel,     // the key belongs to the other model
    kWrongValue,     // not one of the setting's values
    kDuplicate,      // the key was given twice
    kUnused,         // the output type with format touch-memory
    kMixedModels,    // key=value arguments of both models
};

struct ProfileResult {
    ProfileError error = ProfileError::kNone;
    int line = 0;         // of the error, counted from 1 (0 for arguments)
    std::string subject;  // the key or the text at fault
    ReaderSettings settings;  // the values given; kNoValue for the others
};

// A profile file's text (UTF-8, a byte-order mark allowed).
ProfileResult ParseProfile(const std::string& text);

// "key=value" arguments; the model is the one the keys belong to, or `model`
// (-1: any) which they must then match.
ProfileResult ParseAssignments(const std::vector<std::string>& assignments, int model);

// kReaderSerial for "krx", kReaderUsb for "usb", -1 for any other name.
int ModelNamed(const std::string& name);

// The key of a setting of `model` ("interface"), "?" for none.
const char* KeyOfSetting(int model, SettingId id);

// The settings in use that have a value, as (key, value name) pairs in the table's order.
std::vector<std::pair<std::string, std::string>> SettingsInUse(const ReaderSettings& settings);

// The profile of a reader's settings: every setting in use.
std::string FormatProfile(const ReaderSettings& settings);
