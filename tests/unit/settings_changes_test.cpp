#include <gtest/gtest.h>

#include "protocol/commands.h"
#include "protocol/settings_changes.h"
#include "tests/unit/settings_by_name.h"

namespace {

// The settings of a payload, as a read gives them.
ReaderSettings Held(int model, const std::string& payload) {
    return DecodeSettingsPayload(model, reinterpret_cast<const std::uint8_t*>(("1.00" + payload + "?").data()))
        .settings;
}

std::string NameOf(const SettingInfo& setting, int value) {
    return value == kNoValue ? "?" : setting.values[value].name;
}

}  // namespace

TEST(SettingChanges, OnlyWhatTheReaderDoesNotHoldIsAChange) {
    // held payload, asked, the changes a write would make ("" when the reader is left alone)
    const std::tuple<int, std::string, std::string, std::string> cases[] = {
        {kReaderSerial, "TMX1AO", "interface=touch-memory touch-poll=on", ""},
        {kReaderSerial, "TMX1AO", "", ""},
        {kReaderSerial, "TMX1AO", "interface=wiegand26 standby=off", "interface: touch-memory -> wiegand26 "},
        {kReaderSerial, "TMX1QO", "standby=off", "standby: ? -> off "},                      // a code not known to us
        {kReaderUsb, "WHDD5EM", "format=hex-dec bytes=5", ""},                               // the type is kept as held
        {kReaderUsb, "WHDD5EM", "format=touch-memory", "format: hex-dec -> touch-memory "},  // the type leaves use
        // The type comes into use with the format, at the fallback the write command carries.
        {kReaderUsb, "WTMX5EM", "format=hex-dec", "format: touch-memory -> hex-dec type: ? -> dec "},
        {kReaderUsb, "WTMX5EM", "format=hex-dec type=hex cards=mifare",
         "format: touch-memory -> hex-dec type: ? -> hex cards: all -> mifare "},
    };
    for (const auto& [model, payload, asked, expected] : cases) {
        const ReaderSettings held = Held(model, payload);
        const ReaderSettings wanted = SettingsToWrite(held, SettingsByName(model, asked));
        std::string changes;
        for (const SettingChange& change : SettingChanges(held, wanted)) {
            const ModelInfo& info = *ModelInfoOf(model);
            for (int k = 0; k < info.count; ++k) {
                if (info.settings[k].id != change.id) continue;
                changes += std::string(info.settings[k].key) + ": " + NameOf(info.settings[k], change.from) + " -> " +
                           NameOf(info.settings[k], change.to) + " ";
            }
        }
        EXPECT_EQ(changes, expected) << payload << " + " << asked;
        // The reader keeps what the write command carries: read again, it holds every setting asked.
        std::uint8_t command[kWriteCommandCapacity] = {};
        const std::int32_t length = EncodeWriteCommand(wanted, command);
        const std::string kept(reinterpret_cast<const char*>(command) + 3, static_cast<std::size_t>(length - 3));
        EXPECT_TRUE(SettingChanges(Held(model, kept), wanted).empty()) << kept;
    }
}
