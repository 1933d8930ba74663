#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/settings_file.h"
#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/temp_dir.h"
#include "ui/tab_pages.h"

namespace {

const std::string kDefaultFile = "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n";

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ResetFakePlatform(); }

    // Loads `contents` and returns {language, reader model}.
    std::pair<int, int> LoadFrom(const std::string& contents) {
        WriteWholeFile(kSettingsFileName, contents);
        g_lang.current = 0;
        g_tabs.readerModel = 0;
        LoadSettings();
        return {g_lang.current, g_tabs.readerModel};
    }

    TempWorkingDir dir;
};

TEST_F(SettingsFile, MissingFileIsCreatedWithThe36ByteDefaults) {
    g_lang.current = 1;
    g_tabs.readerModel = 1;
    LoadSettings();
    EXPECT_EQ(g_lang.current, 0);
    EXPECT_EQ(g_tabs.readerModel, 0);
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), kDefaultFile);
    EXPECT_EQ(kDefaultFile.size(), 36u);
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SettingsFile, OnlyTheExactEnglishAndUsbLinesSelectOne) {
    using P = std::pair<int, int>;
    EXPECT_EQ(LoadFrom("Language = EN;\r\nTabCtrl = USB_USB;\r\n"), P(1, 1));
    EXPECT_EQ(LoadFrom("Language = EN;\nTabCtrl = USB_USB;\n"), P(1, 1));  // bare LF
    EXPECT_EQ(LoadFrom("Language = RU;\r\nTabCtrl = KRT_KRN;\r\n"), P(0, 0));
    EXPECT_EQ(LoadFrom("Language = EN;\r\nTabCtrl = USB_USB;"), P(1, 0));  // no final line break
    EXPECT_EQ(LoadFrom("language = EN;\r\nTabCtrl = usb_usb;\r\n"), P(0, 0));  // letter case
    EXPECT_EQ(LoadFrom("Language= EN;\r\n"), P(0, 0));
    EXPECT_EQ(LoadFrom("Language = EN; \r\n"), P(0, 0));
    EXPECT_EQ(LoadFrom("TabCtrl = USB_USB;\r\nLanguage = EN;\r\n"), P(0, 0));  // other order
    EXPECT_EQ(LoadFrom("\xEF\xBB\xBFLanguage = EN;\r\nTabCtrl = USB_USB;\r\n"), P(0, 1));  // BOM
    EXPECT_EQ(LoadFrom("Language = EN;\r\nTabCtrl = USB_USB;\r\nLanguage = RU;\r\nextra"), P(1, 1));
    EXPECT_EQ(LoadFrom("Language = EN;\r\r\nTabCtrl = USB_USB;\r\n"), P(0, 1));  // stray CR stays
    EXPECT_EQ(LoadFrom("Language = EN;\r\n\x1ATabCtrl = USB_USB;\r\n"), P(1, 0));  // Ctrl+Z ends a text file
    EXPECT_EQ(LoadFrom("X\x1ATabCtrl = USB_USB;\n"), P(0, 0));
}

TEST_F(SettingsFile, ALongFirstLineIsReadInTwoPiecesSoTheSecondLineIsNeverCompared) {
    std::string longLine(100, 'x');
    EXPECT_EQ(LoadFrom(longLine + "\r\nTabCtrl = USB_USB;\r\n"), std::make_pair(0, 0));
    // 79 characters fill exactly one read; the line break is the next read.
    EXPECT_EQ(LoadFrom(std::string(79, 'x') + "\nTabCtrl = USB_USB;\n"), std::make_pair(0, 0));
    EXPECT_EQ(LoadFrom(std::string(78, 'x') + "\nTabCtrl = USB_USB;\n"), std::make_pair(0, 1));
}

TEST_F(SettingsFile, EmptyOrBinaryFilesGiveTheDefaultsAndAreLeftAsTheyAre) {
    EXPECT_EQ(LoadFrom(""), std::make_pair(0, 0));
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), "");
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 73 + 11) & 0xFF));
    EXPECT_EQ(LoadFrom(garbage), std::make_pair(0, 0));
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), garbage);
    EXPECT_EQ(LoadFrom(std::string("Language = EN;\r\n\0\0\0", 19)), std::make_pair(1, 0));
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SettingsFile, SaveOverwritesTheTwoLinesInPlaceAndKeepsLaterBytes) {
    WriteWholeFile(kSettingsFileName, kDefaultFile + "third line\r\n");
    g_lang.current = 1;
    g_tabs.readerModel = 1;
    SaveSettings();
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), "Language = EN;\r\nTabCtrl = USB_USB;\r\nthird line\r\n");
    g_lang.current = 0;
    LoadSettings();
    EXPECT_EQ(g_lang.current, 1);
    EXPECT_EQ(g_tabs.readerModel, 1);
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(SettingsFile, SaveThatCannotOpenTheFileWarnsAndCreatesNothing) {
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
    SaveSettings();  // deleted while the program runs: not recreated
    EXPECT_FALSE(std::filesystem::exists(kSettingsFileName));
    std::filesystem::create_directory(kSettingsFileName);  // cannot be opened for update, even as root
    SaveSettings();
    ASSERT_EQ(g_fake.boxes.size(), 2u);
    for (const FakeMessageBox& box : g_fake.boxes) {
        EXPECT_EQ(box.text, "Failed to save settings!\nRestart the program.");
        EXPECT_EQ(box.caption, "Message");
        EXPECT_EQ(box.kind, 4u);
        EXPECT_EQ(box.style, 0u);
    }
    EXPECT_EQ(g_lang.current, kLanguageEnglish);
}

TEST_F(SettingsFile, AWorkingDirectoryWhereNothingCanBeCreatedLeavesTheDefaults) {
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(std::filesystem::current_path());
    g_lang.current = 1;
    LoadSettings();
    EXPECT_EQ(g_lang.current, 0);
    EXPECT_EQ(g_tabs.readerModel, 0);
    EXPECT_TRUE(g_fake.boxes.empty());
}

}  // namespace
