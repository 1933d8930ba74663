#pragma once

#include <cstdint>

#include "protocol/commands.h"
#include "protocol/reader_model.h"

// The settings of both reader models: one table ties each value to its code in
// the payload and the write command, its name in scripts and profiles, its
// radio button and its lamp colour. Decoding and encoding work on a plain
// settings value; nothing here touches a window.

enum SettingId : int {
    kSettingInterface,
    kSettingIndicationControl,
    kSettingStandbyIndication,
    kSettingTouchButtonPoll,
    kSettingOperatingMode,
    kSettingOutputFormat,
    kSettingOutputType,
    kSettingIdBytes,
    kSettingCardsToRead,
    kSettingCount,
};

// The USB reader's settings payload, the longer one, is 11 characters.
constexpr int kSettingsPayloadLength = 11;

struct SettingValue {
    const char* code;          // its characters in the payload and in the write command
    const char* name;          // its name in key=value form
    int radio;                 // the window's button that shows it
    std::uint32_t colour = 0;  // of the setting's lamp, when the setting has one
    bool enablesNext = false;  // see SettingInfo::controlsNext
};

// One setting: a group of radio buttons in the window.
struct SettingInfo {
    SettingId id;
    const char* key;  // its name in key=value form
    int position;     // payload index of the code's first character
    int firstRadio;
    int lastRadio;
    int lamp;  // 1-5, or 0 when no lamp shows this setting
    const SettingValue* values;
    int valueCount;
    int fallback;               // the value written when none is chosen
    bool controlsNext = false;  // its value decides whether the next setting is used at all
};

struct ModelInfo {
    int model;
    const char* name;  // "krx" or "usb"
    const SettingInfo* settings;
    int count;
    std::int32_t commandLength;
};

// The table of a model; null for an unknown model.
const ModelInfo* ModelInfoOf(int model);
// Characters of a whole settings payload of the model, the version included;
// 0 for an unknown model.
std::int32_t PayloadLengthOf(int model);

constexpr int kNoValue = -1;

// One reader's settings: for each setting of its model, the index of its value
// in the table, or kNoValue (not known, or not used: the output type with
// format Touch Memory).
struct ReaderSettings {
    int model = kReaderSerial;
    int value[kSettingCount] = {kNoValue, kNoValue, kNoValue, kNoValue, kNoValue,
                                kNoValue, kNoValue, kNoValue, kNoValue};
};

struct DecodedPayload {
    bool versionSupported = false;  // when false nothing else was decoded
    char version[kVersionLength + 1] = {};
    ReaderSettings settings;
    // Settings whose code is not one of their values, in payload order.
    SettingId unrecognised[kSettingCount] = {};
    int unrecognisedCount = 0;
};

// Decodes the payload as `model` lays it out; `payload` holds at least
// kSettingsPayloadLength bytes. A setting that controls the next one and is not
// recognised leaves that next one unexamined.
DecodedPayload DecodeSettingsPayload(int model, const std::uint8_t* payload);

// The settings as a write command carries them: a setting in use without a
// value gets its fallback.
ReaderSettings SettingsAsWritten(const ReaderSettings& settings);

// Builds the write command (kWriteCommandCapacity bytes) of
// SettingsAsWritten(settings) and returns its length: 9 for the serial-output
// reader, 10 for the USB reader, 0 for an unknown model.
std::int32_t EncodeWriteCommand(const ReaderSettings& settings, std::uint8_t* command);

// The setting of a model with this key, or null.
const SettingInfo* FindSetting(int model, const char* key);
// The index of the value with this name, or kNoValue.
int FindValue(const SettingInfo& setting, const char* name);
// True when the setting is used with the other values given: the output type
// is not used with format Touch Memory.
bool SettingIsUsed(const ReaderSettings& settings, SettingId id);

// The lamp (1-5) and colour that a radio button stands for; false for a
// button without a lamp.
bool LampColourForRadio(int radioId, int* lamp, std::uint32_t* colour);
