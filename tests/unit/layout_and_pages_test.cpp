#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/control_styles.h"
#include "ui/lamps.h"
#include "ui/layout.h"
#include "ui/tab_pages.h"

namespace {

class LayoutAndPages : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        g_main.window = FakeMainWindow();
    }
    void Create(int readerModel, int language = kLanguageEnglish) {
        g_tabs.readerModel = readerModel;
        g_lang.current = language;
        SelectLanguageTexts();
        CreateMainWindowControls();
    }
    FakeControl& Slot(int slot) { return FakeControlOf(g_controls.handle[slot]); }
    std::set<int> CheckedIds() {
        std::set<int> ids;
        for (const auto& [id, control] : g_fake.controls)
            if (id > 0 && control.checked) ids.insert(id);
        return ids;
    }
    std::set<int> VisibleRadioIds() {
        std::set<int> ids;
        for (const auto& [id, control] : g_fake.controls)
            if (id > 0 && control.visible && (control.style & 0xF) == kBsAutoRadioButton) ids.insert(id);
        return ids;
    }
};

TEST_F(LayoutAndPages, FortyControlsAreCreatedInOrderWithTheirPlacesAndTexts) {
    Create(kReaderSerial);
    ASSERT_EQ(g_fake.creationOrder.size(), 40u);
    EXPECT_TRUE(g_fake.commonControlsInitialised);
    EXPECT_GE(g_fake.attachedMenu, 0);  // the menu bar comes before any control

    const FakeControl& portList = Slot(kSlotPortList);
    EXPECT_EQ(portList.windowClass, "Combobox");
    EXPECT_EQ(portList.style, kWsChild | kWsVisible | kCbsDropDownList);
    EXPECT_EQ(std::vector<int>({portList.x, portList.y, portList.width, portList.height}),
              std::vector<int>({10, 10, 150, 200}));

    const FakeControl& tab = Slot(kSlotTabControl);
    EXPECT_EQ(tab.windowClass, "SysTabControl32");
    EXPECT_EQ(tab.style, kWsChild | kWsVisible | kWsClipSiblings);
    EXPECT_EQ(tab.items, (std::vector<std::string>{"Zentak-6KRT_M", "  Zentak-6-USB   "}));
    EXPECT_EQ(tab.selection, 0);

    EXPECT_EQ(Slot(kSlotRead).style, kWsChild | kWsVisible | kWsGroup);
    EXPECT_EQ(Slot(kSlotLampFrame).text, "Indic.");
    EXPECT_EQ(Slot(kSlotLampFrame).x, 330);
    EXPECT_EQ(g_fake.controls[31].text, "x.xx");
    EXPECT_EQ(g_fake.controls[21].text, "Windows, Linux, MacOS");
    EXPECT_EQ(g_fake.controls[21].width, 180);
    EXPECT_EQ(Slot(kSlotGroupIdBytes).height, 110);
}

// Automatic radio buttons uncheck the others up to the neighbouring WS_GROUP
// controls, so the creation order must put each group's buttons together.
TEST_F(LayoutAndPages, WsGroupBoundariesMakeExactlyTheSettingsGroups) {
    Create(kReaderSerial);
    std::vector<std::set<int>> groups;
    for (int key : g_fake.creationOrder) {
        const FakeControl& control = g_fake.controls[key];
        if (control.style & kWsGroup) groups.emplace_back();
        if ((control.style & 0xF) == kBsAutoRadioButton && !groups.empty()) groups.back().insert(key);
    }
    std::vector<std::set<int>> radioGroups;
    for (const auto& group : groups)
        if (!group.empty()) radioGroups.push_back(group);
    EXPECT_EQ(radioGroups, (std::vector<std::set<int>>{{3, 4, 5},
                                                       {20, 21},
                                                       {6, 7},
                                                       {22, 23},
                                                       {8, 9, 10},
                                                       {24, 25},
                                                       {11, 12},
                                                       {26, 27, 28, 29},
                                                       {32, 33, 34}}));
}

TEST_F(LayoutAndPages, TheFirstTabShowsItsPageDefaultsAndLamps) {
    Create(kReaderSerial);
    EXPECT_EQ(VisibleRadioIds(), (std::set<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 32, 33, 34}));
    EXPECT_EQ(CheckedIds(), (std::set<int>{3, 6, 10, 11, 32}));
    EXPECT_FALSE(Slot(kSlotGroupCardsToRead).enabled);
    for (int id : {32, 33, 34}) EXPECT_FALSE(g_fake.controls[id].enabled) << id;
    EXPECT_TRUE(Slot(kSlotGroupInterfaces).visible);
    EXPECT_FALSE(Slot(kSlotGroupOperatingMode).visible);
    EXPECT_EQ(std::vector<std::uint32_t>(g_lamps.colour, g_lamps.colour + 5),
              (std::vector<std::uint32_t>{0xFF, 0xFF, 0xFF00FF, 0xFF, 0xFFFFFF}));
}

TEST_F(LayoutAndPages, TheSecondTabShowsItsPageAndReEnablesHexAndDec) {
    Create(kReaderUsb);
    EXPECT_EQ(Slot(kSlotTabControl).selection, 1);
    EXPECT_EQ(VisibleRadioIds(), (std::set<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 32, 33, 34}));
    EXPECT_EQ(CheckedIds(), (std::set<int>{20, 22, 24, 26, 32}));
    EXPECT_EQ(std::vector<std::uint32_t>(g_lamps.colour, g_lamps.colour + 5),
              (std::vector<std::uint32_t>{0xFFFF00, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));

    g_fake.controls[24].enabled = false;
    g_fake.controls[25].enabled = false;
    ShowSerialReaderPage();
    EXPECT_FALSE(Slot(kSlotGroupOperatingMode).visible);
    EXPECT_TRUE(Slot(kSlotGroupTouchButtonPoll).visible);
    ShowUsbReaderPage();
    EXPECT_TRUE(g_fake.controls[24].enabled);
    EXPECT_TRUE(g_fake.controls[25].enabled);
    EXPECT_TRUE(g_fake.controls[33].enabled);
    EXPECT_FALSE(g_fake.controls[8].visible);
}

TEST_F(LayoutAndPages, ControlsAreCreatedInTheCurrentLanguage) {
    Create(kReaderSerial, kLanguageRussian);
    EXPECT_EQ(g_fake.controls[13].text, "\xD1\xd7\xc8\xd2\xc0\xd2\xdc");  // "СЧИТАТЬ"
    EXPECT_EQ(g_fake.controls[3].text, "Touch Memory");
}

}  // namespace
