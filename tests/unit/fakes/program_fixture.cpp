#include "tests/unit/fakes/program_fixture.h"

#include "app/main_window.h"
#include "app/texts.h"
#include "serial/port_list.h"
#include "tests/unit/fakes/fake_draw.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_port_table.h"
#include "tests/unit/fakes/fake_serial.h"
#include "ui/layout.h"
#include "ui/progress.h"
#include "ui/tab_pages.h"
#include "ui/window_procedure.h"

void ProgramFixture::SetUp() {
    ResetFakePlatform();
    ResetFakeSerial();
    ResetFakeDraw();
    g_main.window = FakeMainWindow();
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
}

void ProgramFixture::Build(int readerModel) {
    g_tabs.readerModel = readerModel;
    CreateMainWindowControls();
    RefreshPortList();
}

void ProgramFixture::AddPorts(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        g_fakePortTable.values.push_back(PortValue(name));
        AddFakePort(name.c_str());
    }
}

std::vector<std::string> ProgramFixture::BoxTexts() const {
    std::vector<std::string> texts;
    for (const FakeMessageBox& box : g_fake.boxes) texts.push_back(box.text);
    return texts;
}

std::vector<unsigned> ProgramFixture::BoxKinds() const {
    std::vector<unsigned> kinds;
    for (const FakeMessageBox& box : g_fake.boxes) kinds.push_back(box.kind);
    return kinds;
}

void ProgramFixture::FinishOperation() {
    for (int tick = 0; tick < 1000 && g_progress.running != 0; ++tick) {
        HandleMainWindowMessage({kWmTimer, static_cast<MessageWParam>(g_progress.running), 0, 0});
    }
}
