#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

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

static std::string FileStart(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
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
    const std::string name = kSettingsFileName, other = "other.ini";  // `other`: what a link leads to
    const std::string defaults = "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n", chosen = kEn + kUsb;
    const auto write = [](const std::string& path, const std::string& text) { std::ofstream(path) << text; };
    struct Row {
        const char* what;
        std::function<void()> make;
        bool english;  // read as English
        bool saved;    // rewritten in place by a save, what follows it kept
    };
    const Row rows[] = {
        {"missing: made with the defaults", [] {}, false, true},
        {"a plain file", [&] { write(name, chosen + "tail\r\n"); }, true, true},
        {"a sparse file of 256 MiB",
         [&] {
             write(name, chosen);
             fs::resize_file(name, 256 << 20);
         },
         true, true},
        {"a link to a plain file",
         [&] {
             write(other, chosen);
             fs::create_symlink(other, name);
         },
         false, false},
        {"a link that leads nowhere", [&] { fs::create_symlink(other, name); }, false, false},
        {"a second name of a file",
         [&] {
             write(other, chosen);
             fs::create_hard_link(other, name);
         },
         false, false},
        {"a folder", [&] { fs::create_directory(name); }, false, false},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(name.c_str(), 0600), 0); }, false, false},
    };
    for (const Row& row : rows) {
        fs::remove_all(name), fs::remove(other), g_fakeWindow.boxes.clear();
        row.make();
        const std::string otherBefore = FileStart(other, 100);
        const bool wasMissing = !fs::exists(fs::symlink_status(name));
        g_lang.current = 1 - row.english, g_shell.readerModel = kReaderUsb;
        const long long before = BytesRead();
        LoadSettings();
        EXPECT_LT(BytesRead() - before, 64 << 10) << row.what;
        EXPECT_EQ(std::make_pair(g_lang.current, g_shell.readerModel),
                  row.english ? std::make_pair(kLanguageEnglish, kReaderUsb) : std::make_pair(0, 0))
            << row.what;
        if (wasMissing) {
            EXPECT_EQ(FileStart(name, 100), defaults);
        }

        const std::uintmax_t size = fs::is_regular_file(name) ? fs::file_size(name) : 0;
        g_lang.current = kLanguageEnglish, g_shell.readerModel = kReaderUsb;
        SelectLanguageTexts();
        SaveSettings();
        EXPECT_EQ(g_fakeWindow.boxes.size(), row.saved ? 0u : 1u) << row.what;
        if (row.saved) {
            EXPECT_EQ(FileStart(name, chosen.size()) + std::to_string(fs::file_size(name)),
                      chosen + std::to_string(size))
                << row.what;
        }
        EXPECT_EQ(FileStart(other, 100), otherBefore) << row.what;  // nothing read from it or made through it
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
