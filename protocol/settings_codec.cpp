#include "protocol/settings_codec.h"

#include <cstring>
#include <iterator>

#include "protocol/colours.h"
#include "protocol/commands.h"
#include "protocol/control_ids.h"
#include "protocol/reply_classifier.h"

namespace {

// A write command is "AT+" and the payload without its version: the same
// setting characters stand one place earlier there.
constexpr char kCommandPrefix[] = "AT+";
constexpr int kCommandPrefixLength = 3;
constexpr int kCommandShift = kVersionLength - kCommandPrefixLength;

// Serial-output reader. Values are listed in the order in which the window's
// buttons are tested when a command is built: the earlier selected one wins.
constexpr SettingValue kInterface[] = {{"TMX", "touch-memory", kIdTouchMemory, kColourRed},
                                       {"W26", "wiegand26", kIdWiegand26, kColourGreen},
                                       {"W44", "wiegand44", kIdWiegand44, kColourCyan}};
constexpr SettingValue kIndicationControl[] = {{"1", "direct", kIdIndicationDirect, kColourRed},
                                               {"0", "inverse", kIdIndicationInverse, kColourBlue}};
constexpr SettingValue kStandbyIndication[] = {{"D", "dynamic", kIdStandbyDynamic, kColourRed},
                                               {"S", "static", kIdStandbyStatic, kColourGreen},
                                               {"A", "off", kIdStandbyOff, kColourMagenta}};
constexpr SettingValue kTouchButtonPoll[] = {{"O", "on", kIdPollOn, kColourRed},
                                             {"F", "off", kIdPollOff, kColourYellow}};

constexpr SettingInfo kSerialSettings[] = {
    {kSettingInterface, "interface", 4, kIdTouchMemory, kIdWiegand44, 1, kInterface, std::size(kInterface), 2},
    {kSettingIndicationControl, "indication", 7, kIdIndicationDirect, kIdIndicationInverse, 2, kIndicationControl,
     std::size(kIndicationControl), 1},
    {kSettingStandbyIndication, "standby", 8, kIdStandbyDynamic, kIdStandbyOff, 3, kStandbyIndication,
     std::size(kStandbyIndication), 2},
    {kSettingTouchButtonPoll, "touch-poll", 9, kIdPollOn, kIdPollOff, 4, kTouchButtonPoll, std::size(kTouchButtonPoll),
     1},
};

// USB reader. Format "TM" has no output type: its code carries the type's
// place as 'X'.
constexpr SettingValue kOperatingMode[] = {{"W", "windows", kIdModeWindows, kColourCyan},
                                           {"A", "any-os", kIdModeAnyOs, kColourMagenta}};
constexpr SettingValue kOutputFormat[] = {{"HD", "hex-dec", kIdFormatHexDec, 0, true},
                                          {"TMX", "touch-memory", kIdFormatTouchMemory, 0, false}};
constexpr SettingValue kOutputType[] = {{"H", "hex", kIdTypeHex}, {"D", "dec", kIdTypeDec}};
constexpr SettingValue kIdBytes[] = {
    {"5", "5", kIdBytes5}, {"4", "4", kIdBytes4}, {"3", "3", kIdBytes3}, {"2", "2", kIdBytes2}};
constexpr SettingValue kCardsToRead[] = {
    {"EM", "all", kIdCardsAll}, {"EX", "hid-em", kIdCardsHidEm}, {"XM", "mifare", kIdCardsMifare}};

constexpr SettingInfo kUsbSettings[] = {
    {kSettingOperatingMode, "mode", 4, kIdModeWindows, kIdModeAnyOs, 1, kOperatingMode, std::size(kOperatingMode), 1},
    {kSettingOutputFormat, "format", 5, kIdFormatHexDec, kIdFormatTouchMemory, 0, kOutputFormat,
     std::size(kOutputFormat), 1, true},
    {kSettingOutputType, "type", 7, kIdTypeHex, kIdTypeDec, 0, kOutputType, std::size(kOutputType), 1},
    {kSettingIdBytes, "bytes", 8, kIdBytes5, kIdBytes2, 0, kIdBytes, std::size(kIdBytes), 3},
    // Reading no cards at all cannot be written: without a choice, all cards.
    {kSettingCardsToRead, "cards", 9, kIdCardsAll, kIdCardsMifare, 0, kCardsToRead, std::size(kCardsToRead), 0},
};

constexpr ModelInfo kModels[] = {
    {kReaderSerial, "krx", kSerialSettings, std::size(kSerialSettings), kWriteCommandLengthSerial},
    {kReaderUsb, "usb", kUsbSettings, std::size(kUsbSettings), kWriteCommandLengthUsb},
};

constexpr int CodeLength(const char* code) {
    int length = 0;
    while (code[length] != '\0') ++length;
    return length;
}

// Every code lies inside the payload and the command, every lamp and fallback
// exists, and a controlling setting has one after it.
constexpr bool TableIsSound(const ModelInfo& model) {
    if (model.commandLength > kWriteCommandCapacity) return false;
    for (int k = 0; k < model.count; ++k) {
        const SettingInfo& setting = model.settings[k];
        if (setting.lamp < 0 || setting.lamp > kLampCount) return false;
        if (setting.fallback < 0 || setting.fallback >= setting.valueCount) return false;
        if (setting.controlsNext && k + 1 >= model.count) return false;
        for (int v = 0; v < setting.valueCount; ++v) {
            const int end = setting.position + CodeLength(setting.values[v].code);
            if (setting.position < kVersionLength || end > kSettingsPayloadLength) return false;
            if (end - kCommandShift > model.commandLength) return false;
        }
    }
    return true;
}
static_assert(TableIsSound(kModels[0]) && TableIsSound(kModels[1]), "settings table out of bounds");
static_assert(kModels[kReaderSerial].model == kReaderSerial && kModels[kReaderUsb].model == kReaderUsb,
              "models are listed by their number");

int ValueOfCode(const SettingInfo& setting, const std::uint8_t* payload) {
    for (int v = 0; v < setting.valueCount; ++v) {
        const char* code = setting.values[v].code;
        if (std::memcmp(payload + setting.position, code, static_cast<std::size_t>(CodeLength(code))) == 0) return v;
    }
    return kNoValue;
}

}  // namespace

const ModelInfo* ModelInfoOf(int model) { return IsReaderModel(model) ? &kModels[model] : nullptr; }

std::int32_t PayloadLengthOf(int model) {
    return IsReaderModel(model) ? kModels[model].commandLength + kCommandShift : 0;
}

DecodedPayload DecodeSettingsPayload(int model, const std::uint8_t* payload) {
    DecodedPayload decoded;
    decoded.settings.model = model;
    const ModelInfo* info = ModelInfoOf(model);
    if (info == nullptr || CheckFirmwareVersion(payload, model) != 0) return decoded;
    decoded.versionSupported = true;
    std::memcpy(decoded.version, payload, kVersionLength);
    for (int k = 0; k < info->count; ++k) {
        const SettingInfo& setting = info->settings[k];
        const int value = ValueOfCode(setting, payload);
        if (value == kNoValue) {
            decoded.unrecognised[decoded.unrecognisedCount++] = setting.id;
            if (setting.controlsNext) ++k;  // the next setting is only read after a known value
            continue;
        }
        decoded.settings.value[setting.id] = value;
        // Format "TM" already covered the output type's place.
        if (setting.controlsNext && !setting.values[value].enablesNext) ++k;
    }
    return decoded;
}

ReaderSettings SettingsAsWritten(const ReaderSettings& settings) {
    ReaderSettings written = settings;
    const ModelInfo* info = ModelInfoOf(settings.model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        const SettingInfo& setting = info->settings[k];
        int& value = written.value[setting.id];
        if (value < 0 || value >= setting.valueCount) value = setting.fallback;
        if (setting.controlsNext && !setting.values[value].enablesNext) ++k;  // the next one is not in use
    }
    return written;
}

std::int32_t EncodeWriteCommand(const ReaderSettings& settings, std::uint8_t* command) {
    const ModelInfo* info = ModelInfoOf(settings.model);
    if (info == nullptr) return 0;
    const ReaderSettings written = SettingsAsWritten(settings);
    std::memcpy(command, kCommandPrefix, kCommandPrefixLength);
    for (int k = 0; k < info->count; ++k) {
        const SettingInfo& setting = info->settings[k];
        const int value = written.value[setting.id];
        const char* code = setting.values[value].code;
        std::memcpy(command + setting.position - kCommandShift, code, static_cast<std::size_t>(CodeLength(code)));
        // Format "TM" writes 'X' for the type, whatever the type says.
        if (setting.controlsNext && !setting.values[value].enablesNext) ++k;
    }
    return info->commandLength;
}

const SettingInfo* FindSetting(int model, const char* key) {
    const ModelInfo* info = ModelInfoOf(model);
    if (info == nullptr) return nullptr;
    for (int k = 0; k < info->count; ++k) {
        if (std::strcmp(info->settings[k].key, key) == 0) return &info->settings[k];
    }
    return nullptr;
}

int FindValue(const SettingInfo& setting, const char* name) {
    for (int v = 0; v < setting.valueCount; ++v) {
        if (std::strcmp(setting.values[v].name, name) == 0) return v;
    }
    return kNoValue;
}

bool SettingIsUsed(const ReaderSettings& settings, SettingId id) {
    const ModelInfo* info = ModelInfoOf(settings.model);
    if (info == nullptr) return false;
    for (int k = 0; k < info->count; ++k) {
        if (info->settings[k].id != id) continue;
        if (k == 0 || !info->settings[k - 1].controlsNext) return true;
        const SettingInfo& controller = info->settings[k - 1];
        const int value = settings.value[controller.id];
        return value < 0 || value >= controller.valueCount || controller.values[value].enablesNext;
    }
    return false;
}

bool LampColourForRadio(int radioId, int* lamp, std::uint32_t* colour) {
    for (const ModelInfo& model : kModels) {
        for (int k = 0; k < model.count; ++k) {
            const SettingInfo& setting = model.settings[k];
            if (setting.lamp == 0) continue;
            for (int v = 0; v < setting.valueCount; ++v) {
                if (setting.values[v].radio != radioId) continue;
                *lamp = setting.lamp;
                *colour = setting.values[v].colour;
                return true;
            }
        }
    }
    return false;
}
