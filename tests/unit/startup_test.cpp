#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/temp_dir.h"
#include "ui/tab_pages.h"
#include "ui/window_procedure.h"

namespace {

using Calls = std::vector<std::string>;

class Startup : public ::testing::Test {
protected:
    void SetUp() override { ResetFakePlatform(); }
    TempWorkingDir dir;
};

TEST(MainWindowPosition, CentresWithTruncatingDivisionAndNoClamping) {
    EXPECT_EQ(MainWindowPosition(1920, 1080).x, 763);
    EXPECT_EQ(MainWindowPosition(1920, 1080).y, 205);
    EXPECT_EQ(MainWindowPosition(1025, 769).x, 512 - 197);
    EXPECT_EQ(MainWindowPosition(1025, 769).y, 384 - 335);
    EXPECT_LT(MainWindowPosition(800, 600).y, 0);
}

TEST_F(Startup, FirstStartCreatesTheFileAndTheWindowInRussianThenRunsTheLoop) {
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(ReadWholeFile(kSettingsFileName), "Language = RU;\r\nTabCtrl = KRT_KRN;\r\n");
    const std::string russianTitle = "MivorZentak-6 \xE2\xE5\xF0.1.01 (x64)";
    EXPECT_EQ(g_fake.calls, (Calls{"find:" + russianTitle, "register", "create", "show", "topmost", "loop"}));
    EXPECT_EQ(g_fake.mainTitle, russianTitle);
    EXPECT_EQ(g_fake.mainX, 763);
    EXPECT_EQ(g_fake.mainY, 205);
    EXPECT_EQ(g_fake.mainWidth, 395);
    EXPECT_EQ(g_fake.mainHeight, 670);
    EXPECT_GE(g_fake.attachedMenu, 0);
    EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(Startup, TheFileChoosesTheLanguageOfTheTitle) {
    WriteWholeFile(kSettingsFileName, "Language = EN;\r\nTabCtrl = USB_USB;\r\n");
    RunProgram();
    EXPECT_EQ(g_fake.mainTitle, "MivorZentak-6 ver.1.01 (x64)");
    EXPECT_EQ(g_tabs.readerModel, 1);
}

TEST_F(Startup, ARunningCopyIsBroughtToTheFrontAndNothingIsCreated) {
    g_fake.otherWindowExists = true;
    g_fake.otherWindowTitle = "MivorZentak-6 ver.1.01 (x64)";
    WriteWholeFile(kSettingsFileName, "Language = EN;\r\n");
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_fake.calls, (Calls{"find:MivorZentak-6 ver.1.01 (x64)", "foreground"}));
    EXPECT_EQ(g_fake.attachedMenu, -1);

    g_fake.calls.clear();
    g_fake.otherWindowMinimized = true;
    RunProgram();
    EXPECT_EQ(g_fake.calls, (Calls{"find:MivorZentak-6 ver.1.01 (x64)", "restore", "foreground"}));
}

TEST_F(Startup, ACopyInTheOtherLanguageIsNotFound) {
    g_fake.otherWindowExists = true;
    g_fake.otherWindowTitle = "MivorZentak-6 ver.1.01 (x64)";  // the running copy switched to English
    RunProgram();                                                // this one starts in Russian
    EXPECT_EQ(g_fake.calls.back(), "loop");
}

TEST_F(Startup, NoWindowClassOrNoWindowEndsAtOnceWithoutTheLoop) {
    g_fake.classRegistrationFails = true;
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_fake.calls.back(), "register");

    ResetFakePlatform();
    g_fake.windowCreationFails = true;
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(g_fake.calls.back(), "create");
    EXPECT_EQ(g_fake.attachedMenu, -1);
}

TEST_F(Startup, QuitClosesTheWindowAndDestroyEndsTheLoop) {
    RunProgram();
    g_fake.calls.clear();
    HandleMainWindowMessage({kWmCommand, 15, 0, 0});
    HandleMainWindowMessage({kWmCommand, (1u << 16) | 15u, 0, 0});  // notification code is not looked at
    HandleMainWindowMessage({kWmDestroy, 0, 0, 0});
    EXPECT_EQ(g_fake.calls, (Calls{"close", "close", "quit"}));
}

}  // namespace
