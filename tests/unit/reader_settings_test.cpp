#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_settings.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/lamps.h"
#include "ui/tab_pages.h"

namespace {

constexpr std::uint32_t R = kColourRed, G = kColourGreen, B = kColourBlue, C = kColourCyan, M = kColourMagenta,
                        Y = kColourYellow, W = kColourWhite;

class ReaderSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        g_main.window = FakeMainWindow();
        g_lang.current = kLanguageEnglish;
        SelectLanguageTexts();
        g_connection.readerVerified = true;
    }

    // The page as a tab change leaves it.
    void Page(int model) {
        g_tabs.readerModel = model;
        const std::vector<int> defaults = model == kReaderSerial ? std::vector<int>{3, 6, 10, 11, 32}
                                                                 : std::vector<int>{20, 22, 24, 26, 32};
        for (int id : defaults) g_fake.controls[id].checked = true;
        g_lamps = model == kReaderSerial ? LampState{{R, R, M, R, W}} : LampState{{C, W, W, W, W}};
        g_fake.controls[31].text = "x.xx";
    }

    void Apply(const std::string& payload) {
        std::uint8_t buffer[kReplyBufferSize] = {};
        std::memcpy(buffer, payload.data(), payload.size());
        ApplySettingsPayload(buffer);
    }

    std::string Write() {
        std::uint8_t command[kWriteCommandCapacity] = {};
        std::int32_t length = -1;
        BuildWriteCommand(command, &length);
        return std::string(reinterpret_cast<const char*>(command), static_cast<std::size_t>(length));
    }

    static std::vector<int> Checked() {
        std::vector<int> ids;
        for (const auto& [id, control] : g_fake.controls) {
            if (control.checked) ids.push_back(id);
        }
        return ids;
    }

    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const FakeMessageBox& box : g_fake.boxes) {
            EXPECT_EQ(box.kind, 5u) << box.text;
            texts.push_back(box.text);
        }
        return texts;
    }

    static std::vector<std::uint32_t> Lamps() { return {std::begin(g_lamps.colour), std::end(g_lamps.colour)}; }
};

TEST_F(ReaderSettings, SerialPayloadSelectsEachGroupAndColoursItsLamp) {
    const struct {
        const char* payload;
        std::vector<int> checked;
        std::vector<std::uint32_t> lamps;
    } cases[] = {
        {"1.00TMX1DO", {3, 6, 8, 11, 32}, {R, R, R, R, W}},
        {"1.00W440AF", {5, 7, 10, 12, 32}, {C, B, M, Y, W}},
        {"1.00W261SO", {4, 6, 9, 11, 32}, {G, R, G, R, W}},
    };
    for (const auto& c : cases) {
        SetUp();
        Page(kReaderSerial);
        g_connection.settingsValid = false;
        Apply(c.payload);
        EXPECT_EQ(Checked(), c.checked) << c.payload;
        EXPECT_EQ(Lamps(), c.lamps) << c.payload;
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(g_fake.controls[31].text, "1.00");
        EXPECT_TRUE(g_connection.settingsValid);
        ASSERT_EQ(g_fake.invalidated.size(), 1u);
        EXPECT_EQ(g_fake.invalidated[0].top, 60);
        EXPECT_EQ(Write(), std::string("AT+") + (c.payload + 4)) << "written back unchanged";
    }
}

TEST_F(ReaderSettings, SerialBadCodesReportInOrderAndLeaveTheirGroupsAlone) {
    Page(kReaderSerial);
    Apply("1.00W46?DQ");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"READER INTERFACE - NOT RECOGNIZED!",
                                                     "INDICATION CONTROL - NOT RECOGNIZED!",
                                                     "TOUCH BUTTON POLL - NOT RECOGNIZED!"}));
    EXPECT_EQ(Checked(), (std::vector<int>{3, 6, 8, 11, 32}));
    EXPECT_EQ(Lamps(), (std::vector<std::uint32_t>{R, R, R, R, W}));
    EXPECT_TRUE(g_connection.settingsValid);
    EXPECT_EQ(g_fake.invalidated.size(), 1u) << "all lamps repaint once, at the end";

    SetUp();
    g_lang.current = kLanguageRussian;
    SelectLanguageTexts();
    Page(kReaderSerial);
    Apply("1.00TMQ1DO");
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].text, "\xC8\xCD\xD2\xC5\xD0\xD4\xC5\xC9\xD1 \xD1\xD7\xC8\xD2\xDB\xC2\xC0\xD2\xC5\xCB\xDF"
                                    " - \xCD\xC5 \xD0\xC0\xD1\xCF\xCE\xC7\xCD\xC0\xCD!");
    EXPECT_EQ(g_fake.boxes[0].caption, "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5");
}

TEST_F(ReaderSettings, SerialUnsupportedVersionOnlyClearsTheValidFlag) {
    Page(kReaderSerial);
    g_connection.settingsValid = true;
    Apply("1.01W440AF");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Firmware version not supported!"});
    EXPECT_FALSE(g_connection.settingsValid);
    EXPECT_TRUE(g_connection.readerVerified) << "no disconnect";
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");
    EXPECT_EQ(Checked(), (std::vector<int>{3, 6, 10, 11, 32}));
    EXPECT_EQ(Lamps(), (std::vector<std::uint32_t>{R, R, M, R, W}));
    EXPECT_TRUE(g_fake.invalidated.empty());
}

TEST_F(ReaderSettings, UsbPayloadSetsGroupsEnablingAndOnlyLampOne) {
    Page(kReaderUsb);
    Apply("1.00AHDD3XM");
    EXPECT_EQ(Checked(), (std::vector<int>{21, 22, 25, 28, 34}));
    EXPECT_EQ(Lamps(), (std::vector<std::uint32_t>{M, W, W, W, W}));
    EXPECT_EQ(g_fake.invalidated.size(), 1u);
    EXPECT_EQ(Write(), "AT+AHDD3XM");

    // 'TMX' greys out HEX and DEC, keeps their selection, and writes 'X' whatever they show.
    Apply("1.00WTMX2EX");
    EXPECT_EQ(Checked(), (std::vector<int>{20, 23, 25, 29, 33}));
    EXPECT_FALSE(g_fake.controls[24].enabled);
    EXPECT_FALSE(g_fake.controls[25].enabled);
    EXPECT_EQ(Lamps()[0], C);
    EXPECT_EQ(Write(), "AT+WTMX2EX");

    Apply("1.00WHDQ5EM");
    EXPECT_EQ(Messages(), std::vector<std::string>{"ID CARD OUTPUT TYPE - NOT RECOGNIZED!"});
    EXPECT_EQ(Checked(), (std::vector<int>{20, 22, 25, 26, 32}));
    EXPECT_TRUE(g_fake.controls[24].enabled);
    EXPECT_TRUE(g_fake.controls[25].enabled);
    EXPECT_TRUE(g_connection.settingsValid);
    EXPECT_EQ(g_fake.controls[31].text, "1.00");
}

TEST_F(ReaderSettings, UsbBadCodesReportInOrderWithoutTouchingTheirGroups) {
    Page(kReaderUsb);
    g_fake.controls[24].enabled = false;  // as after a click on "Touch Memory"
    Apply("1.00QTMH6XX");                 // 'TM' needs 'X': the valid 'H' after it is not read
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "READER OPERATING MODE - NOT RECOGNIZED!", "ID CARD OUTPUT FORMAT - NOT RECOGNIZED!",
                              "NUMBER OF BYTE ID CARD - NOT RECOGNIZED!", "CARD FOR READ - NOT RECOGNIZED!"}));
    EXPECT_EQ(Checked(), (std::vector<int>{20, 22, 24, 26, 32}));
    EXPECT_FALSE(g_fake.controls[24].enabled);
    EXPECT_TRUE(g_fake.invalidated.empty()) << "only a recognized operating mode repaints";
    EXPECT_TRUE(g_connection.settingsValid);

    SetUp();
    Page(kReaderUsb);
    Apply("1.00WHDH1EM");
    EXPECT_EQ(Messages(), std::vector<std::string>{"NUMBER OF BYTE ID CARD - NOT RECOGNIZED!"});
}

TEST_F(ReaderSettings, UsbUnsupportedVersionReportsThenDisconnects) {
    Page(kReaderUsb);
    g_fake.controls[31].text = "1.00";
    g_connection.settingsValid = true;
    Apply(std::string("1.0\0WTMX2XM", 11));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Firmware version not supported!"});
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");
    EXPECT_FALSE(g_connection.settingsValid);
    EXPECT_FALSE(g_connection.readerVerified);
    EXPECT_EQ(Checked(), (std::vector<int>{20, 22, 24, 26, 32}));
    EXPECT_EQ(Lamps()[0], C);
}

TEST_F(ReaderSettings, WriteCommandDefaultsEarlierButtonAndFallbacks) {
    Page(kReaderSerial);
    EXPECT_EQ(Write(), "AT+TMX1AO");
    g_fake.controls.clear();
    EXPECT_EQ(Write(), "AT+W440AF") << "the last value when no button is selected";
    g_fake.controls[3].checked = g_fake.controls[4].checked = g_fake.controls[8].checked = g_fake.controls[9].checked = true;
    EXPECT_EQ(Write().substr(3, 3), "TMX") << "the earlier selected button wins";
    EXPECT_EQ(Write()[7], 'D');

    g_fake.controls.clear();
    Page(kReaderUsb);
    EXPECT_EQ(Write(), "AT+WHDH5EM");
    g_fake.controls.clear();
    EXPECT_EQ(Write(), "AT+ATMX2EM") << "no card list selected sends all cards";
    g_fake.controls[33].checked = true;
    EXPECT_EQ(Write().substr(8), "EX");

    g_tabs.readerModel = 2;
    EXPECT_EQ(Write(), "") << "an unknown model builds nothing";
}

TEST_F(ReaderSettings, RadioClicksColourTheLampsOfTheFirstRowOnly) {
    const std::vector<std::vector<std::uint32_t>> lampAndColour = {
        {3, 1, R}, {4, 1, G}, {5, 1, C}, {6, 2, R},  {7, 2, B},  {8, 3, R},
        {9, 3, G}, {10, 3, M}, {11, 4, R}, {12, 4, Y}, {20, 1, C}, {21, 1, M}};
    for (const auto& expected : lampAndColour) {
        int lamp = 0;
        std::uint32_t colour = 0;
        ASSERT_TRUE(LampColourForRadio(static_cast<int>(expected[0]), &lamp, &colour)) << expected[0];
        EXPECT_EQ(static_cast<std::uint32_t>(lamp), expected[1]) << expected[0];
        EXPECT_EQ(colour, expected[2]) << expected[0];
    }
    for (int id : {1, 2, 13, 22, 23, 24, 25, 26, 29, 31, 32, 33, 34}) {
        int lamp = 0;
        std::uint32_t colour = 0;
        EXPECT_FALSE(LampColourForRadio(id, &lamp, &colour)) << id;
    }
}

}  // namespace
