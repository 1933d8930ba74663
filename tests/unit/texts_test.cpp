#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"

namespace {

constexpr std::size_t kSlotCount = sizeof(TextSlots) / sizeof(const char*);

const char* SlotAt(const TextSlots& slots, std::size_t index) {
    const char* const* all = reinterpret_cast<const char* const*>(&slots);
    return all[index];
}

TEST(Texts, EveryOneOfThe72SlotsHasATextInBothLanguages) {
    ASSERT_EQ(kSlotCount, 72u);
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        ASSERT_NE(SlotAt(kRussianTexts, i), nullptr) << i;
        ASSERT_NE(SlotAt(kEnglishTexts, i), nullptr) << i;
        EXPECT_GT(std::strlen(SlotAt(kRussianTexts, i)), 0u) << i;
        EXPECT_GT(std::strlen(SlotAt(kEnglishTexts, i)), 0u) << i;
    }
}

TEST(Texts, RussianTextsAreWindows1251Bytes) {
    // "MivorZentak-6 вер.1.01 (x64)": 'в' 'е' 'р' are E2 E5 F0 in Windows-1251.
    EXPECT_EQ(std::string(kRussianTexts.WindowTitle), "MivorZentak-6 \xE2\xE5\xF0.1.01 (x64)");
    // "Сообщение"
    EXPECT_EQ(std::string(kRussianTexts.CaptionMessage), "\xD1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5");
    // "Русский" reads the same in both languages.
    EXPECT_EQ(std::string(kRussianLanguageItem), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");
    EXPECT_EQ(std::string(kEnglishLanguageItem), "English");
}

TEST(Texts, LineBreaksBlanksAndBackslashesAreKeptExactly) {
    EXPECT_STREQ(kEnglishTexts.MsgHelpFolderHint,
                 "Open the help folder where the application is installed.\n\rDefault: C:\\MivorZentak-6 v.x.x\\help");
    EXPECT_STREQ(kEnglishTexts.MsgSaveFailed, "Failed to save settings!\nRestart the program.");
    EXPECT_STREQ(kEnglishTexts.GroupInterfaces, " 1) INTERFACES: ");
    EXPECT_STREQ(kEnglishTexts.LabelVersion, "Version: ");
    EXPECT_STREQ(kEnglishTexts.RadioDirect, "Direct (active '1')");
    EXPECT_STREQ(kEnglishTexts.MsgUsbDisconnected, "Connection broken.\n\r(Zentak-6-USB disabled!)");
}

TEST(Texts, SelectLanguageTextsPointsEverySlotAtOneLanguage) {
    ResetFakePlatform();
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
    for (std::size_t i = 0; i < kSlotCount; ++i) EXPECT_EQ(SlotAt(g_lang.text, i), SlotAt(kEnglishTexts, i)) << i;
    g_lang.current = kLanguageRussian;
    SelectLanguageTexts();
    for (std::size_t i = 0; i < kSlotCount; ++i) EXPECT_EQ(SlotAt(g_lang.text, i), SlotAt(kRussianTexts, i)) << i;
}

TEST(Texts, SlotsThatShareAWordStayDistinctWhereTheLanguagesDiffer) {
    EXPECT_STREQ(kEnglishTexts.RadioStandbyOff, "Off");
    EXPECT_STREQ(kEnglishTexts.RadioPollOff, "Off");
    EXPECT_STREQ(kEnglishTexts.MenuHelp, kEnglishTexts.MenuHelpItem);
    EXPECT_STRNE(kRussianTexts.MenuHelp, kRussianTexts.MenuHelpItem);
}

}  // namespace
