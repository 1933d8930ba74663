#include <gtest/gtest.h>

#include <sstream>

#include "protocol/colours.h"
#include "protocol/commands.h"
#include "protocol/settings_codec.h"

static std::string Encode(const ReaderSettings& settings) {
    std::uint8_t command[kWriteCommandCapacity + 1] = {};
    command[kWriteCommandCapacity] = '#';  // no command reaches this guard
    const std::int32_t length = EncodeWriteCommand(settings, command);
    EXPECT_EQ(command[kWriteCommandCapacity], '#');
    return std::string(reinterpret_cast<const char*>(command), static_cast<std::size_t>(length));
}

TEST(SettingsCodec, PayloadsDecodeToTheirButtonsAndEncodeBackToTheSameCodes) {
    // For each setting in payload order: the radio button of its value, '?' when its code is reported as
    // not recognised, '-' when it is not examined; nothing at all when the version is not supported.
    const std::tuple<int, std::string, std::string> cases[] = {
        {kReaderSerial, "1.00TMX1DO?", "3 6 8 11 "},  // the 11th character is never read
        {kReaderSerial, "1.00W440AF?", "5 7 10 12 "},
        {kReaderSerial, "1.00W261SO?", "4 6 9 11 "},
        {kReaderSerial, "1.00W460SF?", "? 7 9 12 "},
        {kReaderSerial, "1.00TMx2XZ?", "? ? ? ? "},
        {kReaderUsb, "1.00WHDH5EM", "20 22 24 26 32 "},
        {kReaderUsb, "1.00AHDD4EX", "21 22 25 27 33 "},
        {kReaderUsb, "1.00WTMX3XM", "20 23 - 28 34 "},  // format Touch Memory: no type
        {kReaderUsb, "1.00ATMX2EM", "21 23 - 29 32 "},
        {kReaderUsb, "1.00QHDQ6XX", "? 22 ? ? ? "},
        {kReaderUsb, "1.00WTMH1EE", "20 ? - ? ? "},  // an unknown format leaves the type unexamined
        {kReaderUsb, "1.00WHMD5EM", "20 ? - 26 32 "},
        {kReaderSerial, "1.01TMX1DO?", ""},
        {kReaderUsb, std::string("1.0\0WHDH5EM", 11), ""},
        {2, "1.00WHDH5EM", ""},
    };
    for (const auto& [model, payload, expected] : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(payload.data());
        const DecodedPayload decoded = DecodeSettingsPayload(model, bytes);
        std::string outcome;
        int reported = 0;  // the reported settings come in payload order
        for (int k = 0; decoded.versionSupported && k < ModelInfoOf(model)->count; ++k) {
            const SettingInfo& setting = ModelInfoOf(model)->settings[k];
            const int value = decoded.settings.value[setting.id];
            const bool unrecognised =
                reported < decoded.unrecognisedCount && decoded.unrecognised[reported] == setting.id;
            reported += unrecognised ? 1 : 0;
            outcome += value != kNoValue ? std::to_string(setting.values[value].radio) : unrecognised ? "?" : "-";
            outcome += ' ';
        }
        EXPECT_EQ(reported, decoded.unrecognisedCount) << payload;
        EXPECT_EQ(outcome, expected) << payload;
        EXPECT_STREQ(decoded.version, decoded.versionSupported ? "1.00" : "") << payload;
        if (!expected.empty() && expected.find('?') == std::string::npos) {
            EXPECT_EQ(Encode(decoded.settings), "AT+" + payload.substr(4, model == kReaderSerial ? 6 : 7));
        }
    }
}

TEST(SettingsCodec, SettingsByNameEncodeWithFallbacksAndTheTypeIsUnusedWithTouchMemory) {
    const std::tuple<int, std::string, std::string, bool> cases[] = {  // model, key=value ..., command, type used
        {kReaderSerial, "interface=touch-memory indication=direct standby=off touch-poll=on", "AT+TMX1AO", false},
        {kReaderSerial, "", "AT+W440AF", false},
        {kReaderSerial, "interface=wiegand26 indication=Direct mode=any-os standby=static", "AT+W260SF", false},
        {kReaderUsb, "mode=windows format=hex-dec type=hex bytes=5 cards=all", "AT+WHDH5EM", true},
        {kReaderUsb, "", "AT+ATMX2EM", true},  // format not known
        {kReaderUsb, "format=hex-dec bytes=6", "AT+AHDD2EM", true},
        {kReaderUsb, "mode=any-os format=touch-memory type=hex bytes=4 cards=mifare", "AT+ATMX4XM", false},
        {kReaderUsb, "mode=windows format=touch-memory type=dec bytes=3 cards=hid-em", "AT+WTMX3EX", false},
        {2, "mode=windows", "", false},
    };
    for (const auto& [model, pairs, command, typeUsed] : cases) {
        ReaderSettings settings;
        settings.model = model;
        std::istringstream words(pairs);
        for (std::string word; words >> word;) {  // an unknown key is left out, an unknown value is none
            const std::size_t equals = word.find('=');
            const SettingInfo* setting = FindSetting(model, word.substr(0, equals).c_str());
            if (setting != nullptr) settings.value[setting->id] = FindValue(*setting, word.substr(equals + 1).c_str());
        }
        EXPECT_EQ(Encode(settings), command) << pairs;
        EXPECT_EQ(SettingIsUsed(settings, kSettingOutputType), typeUsed) << pairs;
    }
}
