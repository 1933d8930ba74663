#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "protocol/colours.h"
#include "protocol/commands.h"
#include "protocol/control_ids.h"
#include "protocol/settings_codec.h"
#include "tests/unit/settings_by_name.h"

static std::string Encode(const ReaderSettings& settings) {
    std::uint8_t command[kWriteCommandCapacity + 1] = {};
    command[kWriteCommandCapacity] = '#';  // no command reaches this guard
    const std::int32_t length = EncodeWriteCommand(settings, command);
    EXPECT_EQ(command[kWriteCommandCapacity], '#');
    return std::string(reinterpret_cast<const char*>(command), static_cast<std::size_t>(length));
}

TEST(SettingsCodec, PayloadsDecodeToTheirButtonsAndEncodeBackToTheSameCodes) {
    // For each setting in payload order: the radio button of its value, or that its code is reported as not
    // recognised, or that it is not examined; nothing at all when the version is not supported.
    constexpr int kBad = -1, kSkipped = 0;
    const std::tuple<int, std::string, std::vector<int>> cases[] = {
        // the 11th character is never read
        {kReaderSerial, "1.00TMX1DO?", {kIdTouchMemory, kIdIndicationDirect, kIdStandbyDynamic, kIdPollOn}},
        {kReaderSerial, "1.00W440AF?", {kIdWiegand44, kIdIndicationInverse, kIdStandbyOff, kIdPollOff}},
        {kReaderSerial, "1.00W261SO?", {kIdWiegand26, kIdIndicationDirect, kIdStandbyStatic, kIdPollOn}},
        {kReaderSerial, "1.00W460SF?", {kBad, kIdIndicationInverse, kIdStandbyStatic, kIdPollOff}},
        {kReaderSerial, "1.00TMx2XZ?", {kBad, kBad, kBad, kBad}},
        {kReaderUsb, "1.00WHDH5EM", {kIdModeWindows, kIdFormatHexDec, kIdTypeHex, kIdBytes5, kIdCardsAll}},
        {kReaderUsb, "1.00AHDD4EX", {kIdModeAnyOs, kIdFormatHexDec, kIdTypeDec, kIdBytes4, kIdCardsHidEm}},
        // format Touch Memory: no type
        {kReaderUsb, "1.00WTMX3XM", {kIdModeWindows, kIdFormatTouchMemory, kSkipped, kIdBytes3, kIdCardsMifare}},
        {kReaderUsb, "1.00ATMX2EM", {kIdModeAnyOs, kIdFormatTouchMemory, kSkipped, kIdBytes2, kIdCardsAll}},
        {kReaderUsb, "1.00QHDQ6XX", {kBad, kIdFormatHexDec, kBad, kBad, kBad}},
        // an unknown format leaves the type unexamined
        {kReaderUsb, "1.00WTMH1EE", {kIdModeWindows, kBad, kSkipped, kBad, kBad}},
        {kReaderUsb, "1.00WHMD5EM", {kIdModeWindows, kBad, kSkipped, kIdBytes5, kIdCardsAll}},
        {kReaderSerial, "1.01TMX1DO?", {}},
        {kReaderUsb, std::string("1.0\0WHDH5EM", 11), {}},
        {2, "1.00WHDH5EM", {}},
    };
    for (const auto& [model, payload, expected] : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(payload.data());
        const DecodedPayload decoded = DecodeSettingsPayload(model, bytes);
        std::vector<int> outcome;
        int reported = 0;  // the reported settings come in payload order
        for (int k = 0; decoded.versionSupported && k < ModelInfoOf(model)->count; ++k) {
            const SettingInfo& setting = ModelInfoOf(model)->settings[k];
            const int value = decoded.settings.value[setting.id];
            const bool unrecognised =
                reported < decoded.unrecognisedCount && decoded.unrecognised[reported] == setting.id;
            reported += unrecognised ? 1 : 0;
            outcome.push_back(value != kNoValue ? setting.values[value].radio : unrecognised ? kBad : kSkipped);
        }
        EXPECT_EQ(reported, decoded.unrecognisedCount) << payload;
        EXPECT_EQ(outcome, expected) << payload;
        EXPECT_STREQ(decoded.version, decoded.versionSupported ? "1.00" : "") << payload;
        if (!expected.empty() && std::count(expected.begin(), expected.end(), kBad) == 0) {
            EXPECT_EQ(Encode(decoded.settings), "AT+" + payload.substr(4, model == kReaderSerial ? 6 : 7));
        }
    }
}

TEST(SettingsCodec, SettingsByNameEncodeWithFallbacksAndTheTypeIsUnusedWithTouchMemory) {
    const std::tuple<int, std::string, std::string, bool> cases[] = {
        // model, key=value ..., command, type used
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
        const ReaderSettings settings = SettingsByName(model, pairs);
        EXPECT_EQ(Encode(settings), command) << pairs;
        EXPECT_EQ(SettingIsUsed(settings, kSettingOutputType), typeUsed) << pairs;
    }
}
