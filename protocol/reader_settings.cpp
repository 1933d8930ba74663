#include "protocol/reader_settings.h"

#include "app/text/texts.h"
#include "protocol/connection.h"
#include "protocol/reader_view.h"
#include "protocol/setting_texts.h"
#include "protocol/settings_codec.h"

namespace {

bool WasUnrecognised(const DecodedPayload& decoded, SettingId id) {
    for (int k = 0; k < decoded.unrecognisedCount; ++k) {
        if (decoded.unrecognised[k] == id) return true;
    }
    return false;
}

void EnableGroup(const SettingInfo& setting, bool enable) {
    for (int id = setting.firstRadio; id <= setting.lastRadio; ++id) EnableControl(id, enable);
}

// Each setting in payload order: its buttons and lamp, or its message (modal:
// the settings before it are already shown). The serial-output reader's lamps
// repaint once at the end, the USB reader's lamp as soon as it changes.
void ShowDecodedSettings(const ModelInfo& model, const DecodedPayload& decoded) {
    const bool repaintAtEnd = model.model == kReaderSerial;
    for (int k = 0; k < model.count; ++k) {
        const SettingInfo& setting = model.settings[k];
        if (WasUnrecognised(decoded, setting.id)) {
            ReportMessage(g_lang.text.*UnrecognisedSettingText(setting.id), kMsgError);
            continue;
        }
        const int index = decoded.settings.value[setting.id];
        if (index == kNoValue) continue;  // not examined, or not used with the value before it
        const SettingValue& value = setting.values[index];
        CheckRadio(setting.firstRadio, setting.lastRadio, value.radio);
        if (setting.lamp != 0) {
            SetLampColour(setting.lamp, value.colour);
            if (!repaintAtEnd) InvalidateLampArea();
        }
        if (setting.controlsNext) EnableGroup(model.settings[k + 1], value.enablesNext);
    }
    if (repaintAtEnd) InvalidateLampArea();
}

}  // namespace

void ApplySettingsPayload(const std::uint8_t* payload) {
    const ModelInfo* model = ModelInfoOf(ShownReaderModel());
    if (model == nullptr) return;
    const DecodedPayload decoded = DecodeSettingsPayload(model->model, payload);
    if (!decoded.versionSupported) {
        ReportMessage(g_lang.text.MsgFirmwareUnsupported, kMsgError);
        // The serial-output reader's port stays open; the USB reader is let go.
        if (model->model == kReaderUsb) {
            Disconnect();
        } else {
            g_connection.settingsValid = false;
        }
        return;
    }
    // A good version makes the settings valid even when some codes are not.
    g_connection.settingsValid = true;
    ShowVersion(decoded.version);
    ShowDecodedSettings(*model, decoded);
}

void BuildWriteCommand(std::uint8_t* command, std::int32_t* length) {
    ReaderSettings settings;
    settings.model = ShownReaderModel();
    if (const ModelInfo* model = ModelInfoOf(settings.model)) {
        // The first selected button of each group; none selected leaves the fallback to the encoder.
        for (int k = 0; k < model->count; ++k) {
            const SettingInfo& setting = model->settings[k];
            for (int v = 0; v < setting.valueCount && settings.value[setting.id] == kNoValue; ++v) {
                if (IsRadioChecked(setting.values[v].radio)) settings.value[setting.id] = v;
            }
        }
    }
    *length = EncodeWriteCommand(settings, command);
}
