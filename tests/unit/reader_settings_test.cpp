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

using Ids = std::vector<int>;
using Colours = std::vector<std::uint32_t>;
using Texts = std::vector<std::string>;
constexpr std::uint32_t R = kColourRed, G = kColourGreen, B = kColourBlue, C = kColourCyan, M = kColourMagenta,
                        Y = kColourYellow, W = kColourWhite;

class ReaderSettings : public ::testing::Test {
protected:
    // A connected reader's page as a tab change leaves it, English texts.
    void Page(int model, int language = kLanguageEnglish) {
        ResetFakePlatform();
        g_main.window = FakeMainWindow();
        g_lang.current = language;
        SelectLanguageTexts();
        g_connection.readerVerified = true;
        g_tabs.readerModel = model;
        for (int id : model == kReaderSerial ? Ids{3, 6, 10, 11, 32} : Ids{20, 22, 24, 26, 32}) {
            g_fake.controls[id].checked = true;
        }
        g_lamps = model == kReaderSerial ? LampState{{R, R, M, R, W}} : LampState{{C, W, W, W, W}};
        g_fake.controls[31].text = "x.xx";
    }

    static void Apply(const std::string& payload) {
        std::uint8_t buffer[kReplyBufferSize] = {};
        std::memcpy(buffer, payload.data(), payload.size());
        ApplySettingsPayload(buffer);
    }

    static std::string Write() {
        std::uint8_t command[kWriteCommandCapacity] = {};
        std::int32_t length = -1;
        BuildWriteCommand(command, &length);
        return std::string(reinterpret_cast<const char*>(command), static_cast<std::size_t>(length));
    }

    static Ids Checked() {
        Ids ids;
        for (const auto& [id, control] : g_fake.controls) {
            if (control.checked) ids.push_back(id);
        }
        return ids;
    }

    static Texts Errors() {
        Texts texts;
        for (const FakeMessageBox& box : g_fake.boxes) texts.push_back(box.kind == 5 ? box.text : "kind?");
        return texts;
    }

    static Colours Lamps() { return {std::begin(g_lamps.colour), std::end(g_lamps.colour)}; }
};

TEST_F(ReaderSettings, GoodPayloadsSelectButtonsColourLampsAndWriteBackAlike) {
    const struct {
        int model;
        const char* payload;
        Ids checked;
        Colours lamps;
    } cases[] = {
        {kReaderSerial, "1.00TMX1DO", {3, 6, 8, 11, 32}, {R, R, R, R, W}},
        {kReaderSerial, "1.00W440AF", {5, 7, 10, 12, 32}, {C, B, M, Y, W}},
        {kReaderSerial, "1.00W261SO", {4, 6, 9, 11, 32}, {G, R, G, R, W}},
        {kReaderUsb, "1.00AHDD3XM", {21, 22, 25, 28, 34}, {M, W, W, W, W}},
        {kReaderUsb, "1.00WHDH2EX", {20, 22, 24, 29, 33}, {C, W, W, W, W}},
    };
    for (const auto& c : cases) {
        Page(c.model);
        Apply(c.payload);
        EXPECT_EQ(Checked(), c.checked) << c.payload;
        EXPECT_EQ(Lamps(), c.lamps) << c.payload;
        EXPECT_EQ(Errors(), Texts{});
        EXPECT_EQ(g_fake.controls[31].text, "1.00");
        EXPECT_TRUE(g_connection.settingsValid);
        ASSERT_EQ(g_fake.invalidated.size(), 1u) << c.payload;
        const PixelRect& area = g_fake.invalidated[0];
        EXPECT_EQ((Ids{area.left, area.top, area.right, area.bottom}), (Ids{330, 60, 380, 560}));
        EXPECT_EQ(Write(), std::string("AT+") + (c.payload + 4));
    }
}

TEST_F(ReaderSettings, EachBadCodeIsReportedInOrderAndLeavesItsGroupAlone) {
    Page(kReaderSerial);
    Apply("1.00W46?DQ");
    EXPECT_EQ(Errors(), (Texts{"READER INTERFACE - NOT RECOGNIZED!", "INDICATION CONTROL - NOT RECOGNIZED!",
                               "TOUCH BUTTON POLL - NOT RECOGNIZED!"}));
    EXPECT_EQ(Checked(), (Ids{3, 6, 8, 11, 32}));
    EXPECT_EQ(Lamps(), (Colours{R, R, R, R, W}));
    EXPECT_TRUE(g_connection.settingsValid);
    EXPECT_EQ(g_fake.invalidated.size(), 1u) << "the serial page repaints once, at the end";

    Page(kReaderUsb);
    g_fake.controls[24].enabled = false;  // as a click on "Touch Memory" leaves it
    Apply("1.00QTMD6XX");                 // 'TM' needs 'X': the 'D' after it is not read
    EXPECT_EQ(Errors(), (Texts{"READER OPERATING MODE - NOT RECOGNIZED!", "ID CARD OUTPUT FORMAT - NOT RECOGNIZED!",
                               "NUMBER OF BYTE ID CARD - NOT RECOGNIZED!", "CARD FOR READ - NOT RECOGNIZED!"}));
    EXPECT_EQ(Checked(), (Ids{20, 22, 24, 26, 32}));
    EXPECT_FALSE(g_fake.controls[24].enabled);
    EXPECT_TRUE(g_fake.invalidated.empty()) << "only a known operating mode repaints";
    EXPECT_EQ(g_fake.controls[31].text, "1.00");

    Page(kReaderSerial, kLanguageRussian);
    Apply("1.00TMQ1DO");
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].text, "\xC8\xCD\xD2\xC5\xD0\xD4\xC5\xC9\xD1 \xD1\xD7\xC8\xD2\xDB\xC2\xC0\xD2\xC5\xCB\xDF"
                                    " - \xCD\xC5 \xD0\xC0\xD1\xCF\xCE\xC7\xCD\xC0\xCD!");
    EXPECT_EQ(g_fake.boxes[0].caption, "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5");
}

TEST_F(ReaderSettings, UsbFormatDecidesTheTypeAndTheHexDecButtons) {
    Page(kReaderUsb);
    g_fake.controls[25].checked = true;  // both checked: the earlier, HEX, is written
    Apply("1.00WTMX5EM");
    EXPECT_EQ(Checked(), (Ids{20, 23, 24, 25, 26, 32})) << "HEX and DEC keep their selection";
    EXPECT_FALSE(g_fake.controls[24].enabled);
    EXPECT_FALSE(g_fake.controls[25].enabled);
    EXPECT_EQ(Write(), "AT+WTMX5EM");

    Apply("1.00WHDQ5EM");
    EXPECT_EQ(Errors(), Texts{"ID CARD OUTPUT TYPE - NOT RECOGNIZED!"});
    EXPECT_EQ(Checked(), (Ids{20, 22, 24, 25, 26, 32}));
    EXPECT_TRUE(g_fake.controls[24].enabled);
    EXPECT_TRUE(g_fake.controls[25].enabled);
    EXPECT_EQ(Write(), "AT+WHDH5EM");
}

TEST_F(ReaderSettings, UnsupportedVersionChangesNoSettingAndDropsOnlyTheUsbReader) {
    for (int model : {kReaderSerial, kReaderUsb}) {
        Page(model);
        const Ids before = Checked();
        const Colours lamps = Lamps();
        g_fake.controls[31].text = "1.00";
        g_connection.settingsValid = true;
        Apply(std::string("1.0\0W440AFXM", 12));
        EXPECT_EQ(Errors(), Texts{"Firmware version not supported!"});
        EXPECT_EQ(Checked(), before);
        EXPECT_EQ(Lamps(), lamps);
        EXPECT_TRUE(g_fake.invalidated.empty());
        EXPECT_FALSE(g_connection.settingsValid);
        EXPECT_EQ(g_connection.readerVerified, model == kReaderSerial) << "disconnected";
        EXPECT_EQ(g_fake.controls[31].text, model == kReaderSerial ? "1.00" : "x.xx");
    }
}

TEST_F(ReaderSettings, WriteCommandDefaultsAndFallbacks) {
    Page(kReaderSerial);
    EXPECT_EQ(Write(), "AT+TMX1AO");
    g_fake.controls.clear();
    EXPECT_EQ(Write(), "AT+W440AF") << "the last value when no button is selected";
    g_fake.controls[3].checked = g_fake.controls[4].checked = true;
    EXPECT_EQ(Write().substr(3, 3), "TMX") << "the earlier selected button wins";

    Page(kReaderUsb);
    EXPECT_EQ(Write(), "AT+WHDH5EM");
    g_fake.controls.clear();
    EXPECT_EQ(Write(), "AT+ATMX2EM") << "no card list selected sends all cards";

    g_tabs.readerModel = 2;
    EXPECT_EQ(Write(), "") << "an unknown model builds nothing";
}

TEST_F(ReaderSettings, OnlyTheFirstRowButtonsOfEachPageHaveALamp) {
    int lamp = 0;
    std::uint32_t colour = 0;
    for (int id : {5, 20}) {  // "Wiegand 44" and "WINDOWS" share lamp 1's cyan
        EXPECT_TRUE(LampColourForRadio(id, &lamp, &colour) && lamp == 1 && colour == C) << id;
    }
    EXPECT_TRUE(LampColourForRadio(12, &lamp, &colour) && lamp == 4 && colour == Y);
    for (int id : {2, 13, 22, 23, 24, 29, 31, 32, 34}) EXPECT_FALSE(LampColourForRadio(id, &lamp, &colour)) << id;
}

}  // namespace
