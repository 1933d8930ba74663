#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "app/settings_text.h"
#include "app/text/texts.h"
#include "tests/unit/fakes/fakes.h"

const std::string kEn = "Language = EN;\r\n";
const std::string kUsb = "TabCtrl = USB_USB;\r\n";

TEST(SettingsText, OnlyTheExactEnglishAndUsbLinesChooseThem) {
    const std::tuple<std::string, bool, bool> cases[] = {
        // text; English; USB reader
        {kEn + kUsb, true, true},
        {"Language = EN;\nTabCtrl = USB_USB;\n", true, true},    // bare LF
        {"Language = EN;\rTabCtrl = USB_USB;\r", false, false},  // a lone CR ends no line
        {"Language = EN;\r\r\n" + kUsb, false, true},
        {kEn + "TabCtrl = USB_USB;", true, false},  // no line break at its end
        {kEn, true, false},
        {"", false, false},
        {"Language = EN; \r\nTabCtrl = USB_USB; \r\n", false, false},
        {"language = en;\r\nTabCtrl = usb_usb;\r\n", false, false},
        {kUsb + kEn, false, false},  // the other order
        {"\xEF\xBB\xBF" + kEn + kUsb, false, true},
        {kEn + "\x1A" + kUsb, true, false},  // Ctrl+Z ends the text
        {"Language = EN;\x1A\r\n" + kUsb, false, false},
        {std::string("Language = EN;\0\r\n", 17) + kUsb, false, true},  // a NUL inside a line
        {std::string(78, 'x') + "\r\n" + kUsb, false, true},            // 79 characters with the "\n": one read
        {std::string(79, 'x') + "\r\n" + kUsb, false, false},           // its "\n" is the second read
        {std::string(100, 'x') + "\r\n" + kUsb, false, false},
        {kEn + kUsb + "Language = RU;\r\nmore", true, true},
    };
    for (const auto& [text, english, usb] : cases) {
        const AppSettings settings = ParseSettingsText(text);
        EXPECT_EQ(settings.language, english ? kLanguageEnglish : kLanguageRussian) << text;
        EXPECT_EQ(settings.readerModel, usb ? kReaderUsb : kReaderSerial) << text;
        const AppSettings again = ParseSettingsText(FormatSettingsText(settings));
        EXPECT_EQ(again.language, settings.language);  // written out, the settings read back the same
        EXPECT_EQ(again.readerModel, settings.readerModel);
    }
}

static std::string FileText() {
    std::ifstream in(kSettingsFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The working folder comes back however the test ends: a failure must not move the tests after it.
struct WorkingFolderKept {
    const std::filesystem::path previous = std::filesystem::current_path();
    ~WorkingFolderKept() { std::filesystem::current_path(previous); }
};

TEST(SettingsFile, CreatedWhenMissingRewrittenInPlaceAndDefaultsWhereNothingCanBeCreated) {
    StartFreshProgram();
    const WorkingFolderKept kept;
    char dir[] = "/tmp/mz-settings-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::filesystem::current_path(dir);
    g_lang.current = kLanguageEnglish;
    g_shell.readerModel = kReaderUsb;
    LoadSettings();
    EXPECT_EQ(FileText(), "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n");
    EXPECT_EQ(std::make_pair(g_lang.current, g_shell.readerModel), std::make_pair(0, 0));

    std::ofstream(kSettingsFileName, std::ios::app) << "tail\r\n";
    g_lang.current = kLanguageEnglish;
    g_shell.readerModel = kReaderUsb;
    SaveSettings();
    EXPECT_EQ(FileText(), kEn + kUsb + "tail\r\n");
    std::filesystem::remove(kSettingsFileName);
    std::filesystem::create_symlink("/dev/full", kSettingsFileName);  // a full disk: the write does not go in
    SelectLanguageTexts();
    SaveSettings();
    ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
    g_fakeWindow.boxes.clear();

    std::filesystem::remove_all(dir);  // the working folder is gone: nothing can be created in it
    LoadSettings();
    EXPECT_EQ(std::make_pair(g_lang.current, g_shell.readerModel), std::make_pair(0, 0));
    EXPECT_TRUE(g_fakeWindow.boxes.empty());
    SelectLanguageTexts();
    SaveSettings();  // the switch goes on, with a warning in the language it had
    ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
    EXPECT_EQ(g_fakeWindow.boxes[0].text + "/" + std::to_string(g_fakeWindow.boxes[0].kind),
              std::string(kRussianTexts.MsgSaveFailed) + "/4");
}
