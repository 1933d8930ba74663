#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "app/settings_text.h"
#include "app/text/texts.h"
#include "serial/port_view.h"
#include "tests/unit/fakes/fakes.h"
#include "ui/window_procedure.h"

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
        {kEn + "\x1A" + kUsb, true, false},                             // Ctrl+Z ends the text
        {"Language = EN;\x1A" + kUsb, false, false},                    // nor does a later read go past it
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

static std::string FileStart(const std::string& path, std::size_t count = 100) {
    std::string bytes(count, '\0');
    std::ifstream(path, std::ios::binary).read(&bytes[0], static_cast<std::streamsize>(count));
    return bytes.c_str();  // up to the file's end: the buffer past it holds zeros
}

// What this process has read from files so far, however it read it.
static long long BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value && key != "rchar:") {}
    return value;
}

// The working folder comes back however the test ends: a failure must not move the tests after it.
struct WorkingFolderKept {
    const std::filesystem::path previous = std::filesystem::current_path();
    ~WorkingFolderKept() { std::filesystem::current_path(previous); }
};

TEST(SettingsFile, TakenOnlyAsAPlainFileReadBoundedAndNeverWrittenThroughALink) {
    namespace fs = std::filesystem;
    StartFreshProgram();
    const WorkingFolderKept kept;
    char dir[] = "/tmp/mz-settings-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    fs::current_path(dir);
    const std::string name = kSettingsFileName, chosen = kEn + kUsb;
    std::ofstream("chosen.ini") << chosen;  // what the links lead to
    const std::tuple<const char*, bool, bool> rows[] = {
        // what is there; read as English; rewritten in place by a save, what follows kept
        {"", false, true},  // nothing: made with the defaults
        {"cp chosen.ini appconfig.ini && echo tail >>appconfig.ini", true, true},
        {"cp chosen.ini appconfig.ini && truncate -s 256M appconfig.ini", true, true},  // sparse
        {"ln -s chosen.ini appconfig.ini", false, false},
        {"ln -s gone.ini appconfig.ini", false, false},
        {"ln chosen.ini appconfig.ini", false, false},
        {"mkdir appconfig.ini", false, false},
        {"mkfifo appconfig.ini", false, false},
    };
    for (const auto& [make, english, saved] : rows) {
        fs::remove_all(name), g_fakeWindow.boxes.clear();
        ASSERT_EQ(std::system(make), 0) << make;
        g_lang.current = !english, g_shell.readerModel = kReaderUsb;
        const long long before = BytesRead();
        RunProgram();
        EXPECT_LT(BytesRead() - before, 64 << 10) << make;
        EXPECT_EQ(g_lang.current * 10 + g_shell.readerModel, english ? 11 : 0) << make;
        // The window centred on the screen in the language read, on the tab read, and the search begun.
        EXPECT_EQ(g_fakeWindow.made,
                  "MivorZentak-6 " + std::string(english ? "ver" : "\xe2\xe5\xf0") + ".1.01 (x64) 763,205 395x670")
            << make;
        EXPECT_EQ(std::make_pair(g_fakeWindow.tabSelected, g_fakeWindow.timers),
                  std::make_pair(english ? 1 : 0, std::set<int>{kOpSearch}));
        g_fakeWindow.timers.clear();
        if (*make == '\0') {
            EXPECT_EQ(FileStart(name), "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n");
        }

        const std::uintmax_t size = saved ? fs::file_size(name) : 0;
        g_lang.current = kLanguageEnglish, g_fakeWindow.tabSelected = kReaderUsb;
        SelectLanguageTexts();
        OnMainTabChanged();  // the user's pick is saved at once
        EXPECT_EQ(g_fakeWindow.boxes.size(), saved ? 0u : 1u) << make;
        if (saved) {
            EXPECT_EQ(FileStart(name, chosen.size()) + std::to_string(fs::file_size(name)),
                      chosen + std::to_string(size))
                << make;
        }
        // Nothing read from a link's target or made through it.
        EXPECT_EQ(FileStart("chosen.ini") + (fs::exists("gone.ini") ? "gone.ini" : ""), chosen) << make;
    }

    fs::remove_all(dir);  // the working folder is gone: nothing can be created in it
    g_fakeWindow.boxes.clear();
    LoadSettings();
    EXPECT_EQ(std::make_pair(g_lang.current, g_shell.readerModel), std::make_pair(0, 0));
    EXPECT_TRUE(g_fakeWindow.boxes.empty());
    SelectLanguageTexts();
    SaveSettings();  // the switch goes on, with a warning in the language it had
    ASSERT_EQ(g_fakeWindow.boxes.size(), 1u);
    EXPECT_EQ(g_fakeWindow.boxes[0].text + "/" + std::to_string(g_fakeWindow.boxes[0].kind),
              std::string(kRussianTexts.MsgSaveFailed) + "/4");
}
