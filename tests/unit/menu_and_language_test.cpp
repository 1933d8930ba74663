#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/language_switch.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/temp_dir.h"
#include "ui/layout.h"
#include "ui/tab_pages.h"
#include "ui/window_procedure.h"

namespace {

const std::string kRussianItem = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";

class MenuAndLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        g_main.window = FakeMainWindow();
        g_tabs.readerModel = kReaderUsb;
        WriteWholeFile(kSettingsFileName, "Language = RU;\r\nTabCtrl = USB_USB;\r\n");
    }

    // The Language submenu of the attached bar.
    const FakeMenu& LanguageMenu() {
        const FakeMenu& tools = FakeBarPopup(1);
        return g_fake.menus.at(static_cast<std::size_t>(tools.items.at(0).submenu));
    }

    TempWorkingDir dir;
};

TEST_F(MenuAndLanguage, TheBarHoldsFileToolsHelpWithTheirItemsInOrder) {
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
    BuildMenuBar();
    EXPECT_EQ(FakeBarText(0), "File");
    EXPECT_EQ(FakeBarText(1), "Tools");
    EXPECT_EQ(FakeBarText(2), "Help");

    const FakeMenu& file = FakeBarPopup(0);
    ASSERT_EQ(file.items.size(), 1u);
    EXPECT_EQ(file.items[0].id, 15);
    EXPECT_EQ(file.items[0].text, "Quit");

    const FakeMenu& tools = FakeBarPopup(1);
    ASSERT_EQ(tools.items.size(), 1u);
    EXPECT_EQ(tools.items[0].text, "Language");
    ASSERT_EQ(LanguageMenu().items.size(), 2u);
    EXPECT_EQ(LanguageMenu().items[0].id, 16);
    EXPECT_EQ(LanguageMenu().items[0].text, kRussianItem);
    EXPECT_FALSE(LanguageMenu().items[0].checked);
    EXPECT_EQ(LanguageMenu().items[1].id, 17);
    EXPECT_EQ(LanguageMenu().items[1].text, "English");
    EXPECT_TRUE(LanguageMenu().items[1].checked);

    const FakeMenu& help = FakeBarPopup(2);
    ASSERT_EQ(help.items.size(), 3u);
    EXPECT_EQ(help.items[0].id, 18);
    EXPECT_EQ(help.items[0].text, "Help");
    EXPECT_TRUE(help.items[1].separator);
    EXPECT_EQ(help.items[2].id, 19);
    EXPECT_EQ(help.items[2].text, "About...");
}

TEST_F(MenuAndLanguage, SwitchingToEnglishSavesRetextsAndRebuildsTheBar) {
    SelectLanguageTexts();
    CreateMainWindowControls();
    const int oldBar = g_fake.attachedMenu;
    HandleMainWindowMessage({kWmCommand, 17, 0, 0});

    EXPECT_EQ(g_lang.current, kLanguageEnglish);
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), "Language = EN;\r\nTabCtrl = USB_USB;\r\n");
    EXPECT_EQ(g_fake.mainTitle, "MivorZentak-6 ver.1.01 (x64)");
    EXPECT_TRUE(g_fake.menus.at(static_cast<std::size_t>(oldBar)).destroyed);
    EXPECT_NE(g_fake.attachedMenu, oldBar);
    EXPECT_EQ(FakeBarText(0), "File");
    EXPECT_FALSE(LanguageMenu().items[0].checked);
    EXPECT_TRUE(LanguageMenu().items[1].checked);
    EXPECT_TRUE(g_fake.boxes.empty());

    // Every control with a language text is re-texted, on the hidden page too.
    EXPECT_EQ(g_fake.controls[2].text, "SEARCH");
    EXPECT_EQ(g_fake.controls[30].text, "Version: ");
    EXPECT_EQ(g_fake.controls[10].text, "Off");  // first tab, hidden
    EXPECT_EQ(g_fake.controls[22].text, "HEX or DEC");
    EXPECT_EQ(g_fake.controls[13].text, "READ");
    EXPECT_EQ(g_fake.controls[14].text, "WRITE");
    EXPECT_EQ(FakeControlOf(g_controls.handle[kSlotGroupStandbyIndication]).text, " 3) INDICATION IN STANDBY MODE: ");
    EXPECT_EQ(FakeControlOf(g_controls.handle[kSlotLampFrame]).text, "Indic.");
    // Fixed texts stay.
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");
    EXPECT_EQ(g_fake.controls[3].text, "Touch Memory");
}

TEST_F(MenuAndLanguage, ChoosingTheLanguageInForceStillRunsEveryStep) {
    SelectLanguageTexts();
    CreateMainWindowControls();
    WriteWholeFile(kSettingsFileName, "garbage\r\n");
    const int oldBar = g_fake.attachedMenu;
    HandleMainWindowMessage({kWmCommand, 16, 0, 0});
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), "Language = RU;\r\nTabCtrl = USB_USB;\r\n");
    EXPECT_NE(g_fake.attachedMenu, oldBar);
    EXPECT_TRUE(LanguageMenu().items[0].checked);
    EXPECT_EQ(FakeBarText(1), "\xC8\xED\xF1\xF2\xF0\xF3\xEC\xE5\xED\xF2\xFB");  // "Инструменты"
}

TEST_F(MenuAndLanguage, AFailedSaveWarnsInTheOldLanguageAndTheSwitchStillCompletes) {
    SelectLanguageTexts();
    CreateMainWindowControls();
    std::remove(kSettingsFileName);
    HandleMainWindowMessage({kWmCommand, 17, 0, 0});
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].caption, "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5");  // "Сообщение"
    EXPECT_EQ(g_fake.boxes[0].kind, 4u);
    EXPECT_EQ(g_fake.boxes[0].owner, FakeMainWindow());
    EXPECT_EQ(g_fake.mainTitle, "MivorZentak-6 ver.1.01 (x64)");
    EXPECT_EQ(FakeBarText(2), "Help");
    EXPECT_TRUE(LanguageMenu().items[1].checked);
}

}  // namespace
