#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/help_document.h"
#include "app/main_window.h"
#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_shell.h"

namespace {

// The Windows-1251 bytes of a UTF-8 text: the form the Russian texts take in the program.
std::string Cp1251(const std::string& utf8) {
    iconv_t convert = iconv_open("CP1251", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return "<no CP1251 converter>";
    std::string in = utf8;
    std::string out(in.size(), '\0');
    char* from = &in[0];
    char* to = &out[0];
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    const std::size_t converted = iconv(convert, &from, &fromLeft, &to, &toLeft);
    iconv_close(convert);
    if (converted == static_cast<std::size_t>(-1)) return "<not convertible>";
    out.resize(out.size() - toLeft);
    return out;
}

struct ExpectedBox {
    std::string text;
    unsigned kind;
};

class AboutAndHelp : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        g_fakeShell = FakeShell{};
        g_main.window = FakeMainWindow();
    }

    void UseLanguage(int language) {
        g_lang.current = language;
        SelectLanguageTexts();
    }

    // Runs the Help command against a scripted shell result and checks the boxes it showed, in order.
    void ExpectHelpBoxes(std::intptr_t shellResult, const std::vector<ExpectedBox>& expected) {
        g_fake.boxes.clear();
        g_fakeShell.openResult = shellResult;
        OpenHelpDocument();
        const std::string caption = g_lang.current == kLanguageRussian ? Cp1251("Сообщение") : "Message";
        ASSERT_EQ(g_fake.boxes.size(), expected.size()) << "shell result " << shellResult;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const FakeMessageBox& box = g_fake.boxes[i];
            EXPECT_EQ(box.text, expected[i].text) << "shell result " << shellResult << ", box " << i;
            EXPECT_EQ(box.kind, expected[i].kind) << "shell result " << shellResult << ", box " << i;
            EXPECT_EQ(box.owner, FakeMainWindow());
            EXPECT_EQ(box.caption, caption);
            EXPECT_EQ(box.style, 0u);
        }
    }
};

TEST_F(AboutAndHelp, TheAboutBoxOpensInTheCurrentLanguageOwnedByTheMainWindow) {
    UseLanguage(kLanguageRussian);
    ShowAboutBox();
    UseLanguage(kLanguageEnglish);
    ShowAboutBox();
    UseLanguage(kLanguageRussian);
    ShowAboutBox();

    ASSERT_EQ(g_fakeShell.aboutDialogs.size(), 3u);
    const int templates[] = {1, 2, 1};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(g_fakeShell.aboutDialogs[i].templateId, templates[i]) << i;
        EXPECT_EQ(g_fakeShell.aboutDialogs[i].owner, FakeMainWindow()) << i;
    }
    EXPECT_TRUE(g_fake.boxes.empty());

    // A language the program does not know has no template: nothing opens.
    for (int language : {2, -1}) {
        g_lang.current = language;
        ShowAboutBox();
    }
    EXPECT_EQ(g_fakeShell.aboutDialogs.size(), 3u);
}

TEST(AboutDialog, OkEscAndTheCloseBoxEndItAndOtherCommandsAreSwallowed) {
    const AboutDialogAction init = DecideAboutDialogMessage(kWmInitDialog, 0);
    EXPECT_TRUE(init.handled);
    EXPECT_EQ(init.endResult, 0);

    // OK ends with 1; Cancel (Esc, the close box) with 2, whatever notification the high word carries.
    const std::pair<MessageWParam, int> commands[] = {
        {1, 1}, {2, 2}, {(1u << 16) | 1, 1}, {0xFFFF0002u, 2}, {0, 0}, {3, 0}, {19, 0}, {0xFFFF, 0}, {0x10000, 0},
    };
    for (const auto& [wParam, result] : commands) {
        const AboutDialogAction action = DecideAboutDialogMessage(kWmCommand, wParam);
        EXPECT_TRUE(action.handled) << wParam;
        EXPECT_EQ(action.endResult, result) << wParam;
    }

    // Everything else goes to the default dialog handling, the close request included.
    for (unsigned message : {0x0010u /* close */, 0x000Fu /* paint */, 0x0113u /* timer */, 0x0100u /* key */}) {
        const AboutDialogAction action = DecideAboutDialogMessage(message, 1);
        EXPECT_FALSE(action.handled) << message;
        EXPECT_EQ(action.endResult, 0) << message;
    }
}

TEST_F(AboutAndHelp, TheHelpDocumentIsOpenedFromTheHelpFolderAndSuccessIsSilent) {
    for (std::intptr_t result : {std::intptr_t{33}, std::intptr_t{42}, INTPTR_MAX}) ExpectHelpBoxes(result, {});

    ASSERT_EQ(g_fakeShell.opens.size(), 3u);
    const FakeShellOpen& open = g_fakeShell.opens[0];
    EXPECT_EQ(open.owner, FakeMainWindow());
    EXPECT_EQ(open.verb, "open");
    EXPECT_EQ(open.file, "help\\MivorZentak-6 ver_1_01.pdf");
    EXPECT_EQ(open.showCommand, 9);
}

TEST_F(AboutAndHelp, AMissingDocumentOrFolderGivesTheErrorThenTheFolderHint) {
    UseLanguage(kLanguageEnglish);
    for (std::intptr_t result : {2, 3}) {
        ExpectHelpBoxes(result,
                        {{"File not found!\n\rCheck for the presence of the help file (MivorZentak-6 ver_1_01.pdf).", 5},
                         {"Open the help folder where the application is installed.\n\r"
                          "Default: C:\\MivorZentak-6 v.x.x\\help",
                          6}});
    }
    UseLanguage(kLanguageRussian);
    for (std::intptr_t result : {2, 3}) {
        ExpectHelpBoxes(
            result,
            {{Cp1251("Файл не найден!\n\rПроверьте наличие файла справки (MivorZentak-6 ver_1_01.pdf)."), 5},
             {Cp1251("Откройте папку help, где установлено приложение.\n\rПо умолчанию: C:\\MivorZentak-6 v.x.x\\help"),
              6}});
    }
}

TEST_F(AboutAndHelp, NoViewerForTheDocumentGivesTheWarningThenTheInstallHint) {
    UseLanguage(kLanguageEnglish);
    ExpectHelpBoxes(31, {{"Help file cannot be opened!", 4}, {"Install a PDF viewer on your PC.", 6}});
    UseLanguage(kLanguageRussian);
    ExpectHelpBoxes(31, {{Cp1251("Файл справки не возможно открыть!"), 4},
                         {Cp1251("Установите на ПК программу для просмотра PDF-файлов."), 6}});
}

TEST_F(AboutAndHelp, AnyOtherFailureShowsTheResultAsAnUnsigned64BitNumber) {
    UseLanguage(kLanguageEnglish);
    const std::pair<std::intptr_t, const char*> failures[] = {
        {5, "5"},
        {0, "0"},
        {1, "1"},
        {30, "30"},
        {32, "32"},
        {-1, "18446744073709551615"},
        {INTPTR_MIN, "9223372036854775808"},
    };
    for (const auto& [result, digits] : failures) {
        ExpectHelpBoxes(result, {{std::string("Opening the help file failed!\n\r[Error code: ") + digits + "]", 5}});
    }

    UseLanguage(kLanguageRussian);
    ExpectHelpBoxes(5, {{Cp1251("Открытие файла справки завершилось неудачей!\n\r[Код ошибки: 5]"), 5}});
}

}  // namespace
