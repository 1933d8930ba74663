#include "protocol/reader_settings.h"

#include <cstring>
#include <initializer_list>
#include <iterator>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reply_classifier.h"
#include "ui/command_ids.h"
#include "ui/lamps.h"
#include "ui/tab_pages.h"
#include "ui/window_ops.h"

namespace {

// The payload starts with the 4-character firmware version, a write command
// with "AT+": the same setting characters stand one place earlier there.
constexpr int kVersionLength = 4;
constexpr char kCommandPrefix[] = "AT+";
constexpr int kCommandPrefixLength = 3;
constexpr int kCommandShift = kVersionLength - kCommandPrefixLength;
constexpr int kPayloadMinimum = 11;  // the longer layout, the USB reader's

struct SettingValue {
    const char* code;          // its characters in the payload and in the write command
    int radio;                 // the button that shows it
    std::uint32_t colour = 0;  // of the setting's lamp, when the setting has one
    bool enablesNext = false;  // see Setting::controlsNext
};

// One group of radio buttons. Each value is tied to its code, button and lamp
// colour here, and only here: the decoder looks up codes, the encoder buttons.
struct Setting {
    int position;  // payload index of the code's first character
    int firstRadio;
    int lastRadio;
    int lamp;  // 1-5, or 0 when no lamp shows this setting
    const char* TextSlots::*unrecognized;
    const SettingValue* values;
    int valueCount;
    int fallback;               // the value written when none of the buttons is selected
    bool controlsNext = false;  // its value enables the next group and decides whether that is used
};

enum class LampRepaint { kOnceAtEnd, kWhenChanged };
enum class BadVersion { kClearValid, kDisconnect };

struct ModelSettings {
    const Setting* settings;
    int count;
    std::int32_t commandLength;
    LampRepaint repaint;
    BadVersion badVersion;  // the serial reader's port stays open, the USB reader's is dropped
};

// Serial-output reader, first tab. Values are listed in the order in which the
// encoder tests their buttons: the earlier selected one wins.
constexpr SettingValue kInterface[] = {
    {"TMX", 3, kColourRed}, {"W26", 4, kColourGreen}, {"W44", 5, kColourCyan}};
constexpr SettingValue kIndicationControl[] = {{"1", 6, kColourRed}, {"0", 7, kColourBlue}};
constexpr SettingValue kStandbyIndication[] = {
    {"D", 8, kColourRed}, {"S", 9, kColourGreen}, {"A", 10, kColourMagenta}};
constexpr SettingValue kTouchButtonPoll[] = {{"O", 11, kColourRed}, {"F", 12, kColourYellow}};

constexpr Setting kSerialSettings[] = {
    {4, 3, 5, 1, &TextSlots::MsgBadInterface, kInterface, std::size(kInterface), 2},
    {7, 6, 7, 2, &TextSlots::MsgBadIndicationControl, kIndicationControl, std::size(kIndicationControl), 1},
    {8, 8, 10, 3, &TextSlots::MsgBadStandbyIndication, kStandbyIndication, std::size(kStandbyIndication), 2},
    {9, 11, 12, 4, &TextSlots::MsgBadTouchButtonPoll, kTouchButtonPoll, std::size(kTouchButtonPoll), 1},
};

// USB reader, second tab. Format "TM" has no output type: its code carries
// the type's place as 'X', and the HEX/DEC buttons are disabled.
constexpr SettingValue kOperatingMode[] = {{"W", 20, kColourCyan}, {"A", 21, kColourMagenta}};
constexpr SettingValue kOutputFormat[] = {{"HD", 22, 0, true}, {"TMX", 23, 0, false}};
constexpr SettingValue kOutputType[] = {{"H", 24}, {"D", 25}};
constexpr SettingValue kIdBytes[] = {{"5", 26}, {"4", 27}, {"3", 28}, {"2", 29}};
constexpr SettingValue kCardsToRead[] = {{"EM", 32}, {"EX", 33}, {"XM", 34}};

constexpr Setting kUsbSettings[] = {
    {4, 20, 21, 1, &TextSlots::MsgBadOperatingMode, kOperatingMode, std::size(kOperatingMode), 1},
    {5, 22, 23, 0, &TextSlots::MsgBadOutputFormat, kOutputFormat, std::size(kOutputFormat), 1, true},
    {7, 24, 25, 0, &TextSlots::MsgBadOutputType, kOutputType, std::size(kOutputType), 1},
    {8, 26, 29, 0, &TextSlots::MsgBadIdBytes, kIdBytes, std::size(kIdBytes), 3},
    // No card list selected cannot be sent to the reader: fall back to all cards.
    {9, 32, 34, 0, &TextSlots::MsgBadCardsToRead, kCardsToRead, std::size(kCardsToRead), 0},
};

constexpr ModelSettings kSerialModel{kSerialSettings, std::size(kSerialSettings), kWriteCommandLengthSerial,
                                     LampRepaint::kOnceAtEnd, BadVersion::kClearValid};
constexpr ModelSettings kUsbModel{kUsbSettings, std::size(kUsbSettings), kWriteCommandLengthUsb,
                                  LampRepaint::kWhenChanged, BadVersion::kDisconnect};

constexpr int CodeLength(const char* code) {
    int length = 0;
    while (code[length] != '\0') ++length;
    return length;
}

// Every code lies inside the payload and the command, every lamp and fallback
// exists, and a controlling group has a group after it.
constexpr bool TableIsSound(const ModelSettings& model) {
    if (model.commandLength > kWriteCommandCapacity) return false;
    for (int k = 0; k < model.count; ++k) {
        const Setting& setting = model.settings[k];
        if (setting.lamp < 0 || setting.lamp > kLampCount) return false;
        if (setting.fallback < 0 || setting.fallback >= setting.valueCount) return false;
        if (setting.controlsNext && k + 1 >= model.count) return false;
        for (int v = 0; v < setting.valueCount; ++v) {
            const int end = setting.position + CodeLength(setting.values[v].code);
            if (setting.position < kVersionLength || end > kPayloadMinimum) return false;
            if (end - kCommandShift > model.commandLength) return false;
        }
    }
    return true;
}
static_assert(TableIsSound(kSerialModel) && TableIsSound(kUsbModel), "settings table out of bounds");

const ModelSettings* CurrentModel() {
    if (g_tabs.readerModel == kReaderSerial) return &kSerialModel;
    if (g_tabs.readerModel == kReaderUsb) return &kUsbModel;
    return nullptr;
}

const SettingValue* ValueOfCode(const Setting& setting, const std::uint8_t* payload) {
    for (int v = 0; v < setting.valueCount; ++v) {
        const char* code = setting.values[v].code;
        if (std::memcmp(payload + setting.position, code, static_cast<std::size_t>(CodeLength(code))) == 0) {
            return &setting.values[v];
        }
    }
    return nullptr;
}

const SettingValue& SelectedValue(const Setting& setting) {
    for (int v = 0; v < setting.valueCount; ++v) {
        if (RadioIsChecked(g_main.window, setting.values[v].radio)) return setting.values[v];
    }
    return setting.values[setting.fallback];
}

void EnableGroup(const Setting& setting, bool enable) {
    for (int id = setting.firstRadio; id <= setting.lastRadio; ++id) ControlEnable(g_main.window, id, enable);
}

void DecodePayload(const ModelSettings& model, const std::uint8_t* payload) {
    if (CheckFirmwareVersion(payload) != 0) {
        ReportMessage(g_lang.text.MsgFirmwareUnsupported, kMsgError);
        if (model.badVersion == BadVersion::kDisconnect) {
            Disconnect();
        } else {
            g_connection.settingsValid = false;
        }
        return;
    }
    // A good version makes the settings valid even when some codes are not.
    g_connection.settingsValid = true;
    char version[kVersionLength + 1] = {};
    std::memcpy(version, payload, kVersionLength);
    ControlSetText(g_main.window, kIdVersionField, version);

    for (int k = 0; k < model.count; ++k) {
        const Setting& setting = model.settings[k];
        const SettingValue* value = ValueOfCode(setting, payload);
        if (value == nullptr) {
            // The group keeps its selection and lamp; the others are still decoded.
            ReportMessage(g_lang.text.*setting.unrecognized, kMsgError);
            if (setting.controlsNext) ++k;  // the next group is only read after a known value
            continue;
        }
        RadioCheckInRange(g_main.window, setting.firstRadio, setting.lastRadio, value->radio);
        if (setting.lamp != 0) {
            g_lamps.colour[setting.lamp - 1] = value->colour;
            if (model.repaint == LampRepaint::kWhenChanged) InvalidateLampArea();
        }
        if (setting.controlsNext) {
            EnableGroup(model.settings[k + 1], value->enablesNext);
            if (!value->enablesNext) ++k;  // its code already covered the next group's place
        }
    }
    if (model.repaint == LampRepaint::kOnceAtEnd) InvalidateLampArea();
}

void EncodeCommand(const ModelSettings& model, std::uint8_t* command) {
    std::memcpy(command, kCommandPrefix, kCommandPrefixLength);
    for (int k = 0; k < model.count; ++k) {
        const Setting& setting = model.settings[k];
        const SettingValue& value = SelectedValue(setting);
        std::memcpy(command + setting.position - kCommandShift, value.code,
                    static_cast<std::size_t>(CodeLength(value.code)));
        // Format "TM" writes 'X' for the type, whatever HEX and DEC show.
        if (setting.controlsNext && !value.enablesNext) ++k;
    }
}

}  // namespace

void ApplySettingsPayload(const std::uint8_t* payload) {
    const ModelSettings* model = CurrentModel();
    if (model != nullptr) DecodePayload(*model, payload);
}

void BuildWriteCommand(std::uint8_t* command, std::int32_t* length) {
    const ModelSettings* model = CurrentModel();
    // An unknown model gets an empty command rather than a length left unset.
    *length = 0;
    if (model == nullptr) return;
    EncodeCommand(*model, command);
    *length = model->commandLength;
}

bool LampColourForRadio(int radioId, int* lamp, std::uint32_t* colour) {
    for (const ModelSettings* model : {&kSerialModel, &kUsbModel}) {
        for (int k = 0; k < model->count; ++k) {
            const Setting& setting = model->settings[k];
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
