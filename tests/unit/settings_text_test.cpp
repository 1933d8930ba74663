#include <gtest/gtest.h>

#include <set>

#include "app/settings_file.h"
#include "app/settings_text.h"
#include "app/text/texts.h"
#include "product.h"
#include "protocol/colours.h"
#include "protocol/control_ids.h"
#include "serial/port_view.h"
#include "testkit/fakes/fakes.h"
#include "ui/layout.h"
#include "ui/window_procedure.h"

const std::string kEn = "Language = EN;\r\n";

// The tab's page as the user sees it: its controls alone shown (with those of neither page), enabled but for the
// cards group of the serial reader, which cannot choose them, a button picked in each of its five groups, then the
// lamps.
std::vector<std::uint32_t> PageShown(int page) {
    int picked = 0;
    for (int slot = 0; slot < kControlCount; ++slot) {
        const int on = kControlTable[slot].page;
        const bool hidden = g_fakeWindow.hiddenControls.count(g_window.control[slot]) != 0;
        EXPECT_EQ(hidden, (on == kPageSerial || on == kPageUsb) && on != page) << slot << " on page " << page;
        const int id = kControlTable[slot].id;  // 0: a group box
        const FakeControl& control = g_fakeWindow.controls[id];
        EXPECT_TRUE(on == kPageNone || hidden || id == 0 ||
                    control.enabled != (on == kPageBoth && page == kPageSerial));
        picked += !hidden && control.checked ? 1 : 0;
    }
    EXPECT_EQ(picked, 5) << page;
    return {g_window.lamp, g_window.lamp + kLampCount};
}
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

// Whatever is found, the program goes on with the settings it can trust, leaves what it should not touch as it
// was, and holds no handle once it is done.
TEST(SettingsFile, TakenOnlyAsAPlainFileReadBoundedAndNeverWrittenThroughALink) {
    const std::string name = kSettingsFileName, chosen = kEn + kUsb;
    const auto found = [&](PathKind kind, std::uint32_t names, const char* fails) {
        FakeItem item{kind, chosen + "tail"};
        item.names = names, item.fails = fails;
        return item;
    };
    FakeItem large = found(PathKind::kFile, 1, "");
    large.bytes += std::string(1 << 20, 'x');
    const std::tuple<const char*, bool, FakeItem, bool, bool> rows[] = {
        // what is there; read as English; rewritten in place by a save, what follows kept
        {"nothing: made with the defaults", false, {}, false, true},
        {"a file", true, found(PathKind::kFile, 1, ""), true, true},
        {"a large file", true, large, true, true},
        {"a link", true, found(PathKind::kLink, 1, ""), false, false},
        {"a file with a second name", true, found(PathKind::kFile, 2, ""), false, false},
        {"a folder", true, found(PathKind::kFolder, 1, ""), false, false},
        {"a pipe", true, found(PathKind::kFifo, 1, ""), false, false},
        {"a file that cannot be opened", true, found(PathKind::kFile, 1, "o"), false, false},
        {"no file, but its name cannot be opened (no right to)", true, found(PathKind::kMissing, 1, "o"), false, false},
        {"a file that takes no write", true, found(PathKind::kFile, 1, "w"), true, false},
        {"a disk that keeps nothing", true, found(PathKind::kFile, 1, "c"), true, false},
    };
    for (const auto& [what, present, item, english, saved] : rows) {
        StartFreshProgram();
        if (present) g_fakeFiles.items[name] = item;
        g_lang.current = !english, g_shell.readerModel = kReaderUsb;
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(g_lang.current * 10 + g_shell.readerModel, english ? 11 : 0) << what;
        EXPECT_LE(g_fakeFiles.bytesRead, 1024u) << what;
        // The window centred on the screen in the language read, on the tab read, and the search begun.
        EXPECT_EQ(g_fakeWindow.made, "MivorZentak-6 " + std::string(english ? "ver" : "\xe2\xe5\xf0") +
                                         "." VERSION_SHORT " (x64) 763,205 395x670 shown on top, its messages run")
            << what;
        EXPECT_EQ(std::make_pair(g_fakeWindow.tabSelected, g_fakeWindow.timers),
                  std::make_pair(english ? 1 : 0, std::set<int>{kOpSearch}));
        using Lamps = std::vector<std::uint32_t>;
        const Lamps serialLamps = {kColourRed, kColourRed, kColourMagenta, kColourRed, kColourWhite};
        const Lamps usbLamps = {kColourCyan, kColourWhite, kColourWhite, kColourWhite, kColourWhite};
        EXPECT_EQ(PageShown(english ? kPageUsb : kPageSerial), english ? usbLamps : serialLamps);

        const std::string defaults = "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n";
        EXPECT_TRUE(present || FakeItemAt(name)->bytes == defaults);

        OnMainCommand(kIdFormatTouchMemory, false);  // no type to choose: until the USB reader's page is shown anew
        g_lang.current = kLanguageRussian, g_fakeWindow.tabSelected = kReaderSerial;
        SelectLanguageTexts();
        g_fakeWindow.timers.clear(), g_fakeWindow.lampRepaints = 0;  // the start's search set aside
        OnMainTabChanged();  // the user's pick is saved at once, then shown and searched for
        EXPECT_EQ(PageShown(kPageSerial), serialLamps);
        EXPECT_EQ(std::make_pair(g_fakeWindow.lampRepaints, g_fakeWindow.timers),
                  std::make_pair(1, std::set<int>{kOpSearch}));
        EXPECT_EQ(g_fakeWindow.boxes.size(), saved ? 0u : 1u) << what;
        for (const FakeBox& box : g_fakeWindow.boxes) {
            EXPECT_EQ(box.text + std::to_string(box.kind), std::string(kRussianTexts.MsgSaveFailed) + "4");
        }
        const bool written = saved || item.fails == std::string("c");  // a close that fails: the write went in
        const std::string rest = present ? item.bytes.substr(defaults.size()) : "";
        EXPECT_TRUE(FakeItemAt(name)->bytes == (written ? defaults + rest : item.bytes)) << what;
        EXPECT_TRUE(g_fakeFiles.open.empty()) << what;
        EXPECT_EQ(g_fakeFiles.calls.size(), present ? 0u : 1u) << what;  // nothing made beside what is there
        g_fakeWindow.tabSelected = kReaderUsb;
        OnMainTabChanged();
        EXPECT_EQ(PageShown(kPageUsb), usbLamps);
    }

    StartFreshProgram();
    g_fakeFiles.folderTakesNewFiles = false;  // a read-only working folder: the defaults, and no word of it
    g_lang.current = kLanguageEnglish;
    LoadSettings();
    SelectLanguageTexts();
    SaveSettings();
    EXPECT_EQ(g_lang.current, kLanguageRussian);
    EXPECT_EQ(g_fakeWindow.boxes.size(), 1u);
}
