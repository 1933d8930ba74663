#include "ui/window_procedure.h"

#include <cstdint>
#include <string>

#include "app/about_box.h"
#include "app/help_document.h"
#include "app/language_switch.h"
#include "app/main_window.h"
#include "app/menu_glue.h"
#include "app/message_box.h"
#include "app/settings_file.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_settings.h"
#include "protocol/settings_codec.h"
#include "serial/port_list.h"
#include "serial/port_watch.h"
#include "serial/current_port.h"
#include "ui/command_ids.h"
#include "ui/control_glue.h"
#include "ui/display_scale.h"
#include "ui/indicator_panel.h"
#include "ui/lamps.h"
#include "ui/layout.h"
#include "ui/progress.h"
#include "ui/progress_glue.h"
#include "ui/tab_pages.h"
#include "ui/window_ops_glue.h"

namespace {

constexpr int kIdHexOrDec = 22;
constexpr int kIdTouchMemoryFormat = 23;
constexpr int kIdHex = 24;
constexpr int kIdDec = 25;

void StartSearch() { StartOperationWithProgress(kOpSearch, kSearchPeriodMs); }

void OnPortPicked() {
    const int index = ComboSelection(g_main.window, kIdPortList);
    const std::string text = ComboText(g_main.window, kIdPortList, index);
    if (text.empty()) {
        ReportMessage(g_lang.text.MsgNoComPorts, kMsgWarning);
        return;
    }
    ConnectToPickedPort(text, index);
    g_connection.readerVerified = true;
}

void OnRead() {
    if (g_serial.portOpen) {
        SendReadCommand();
    } else {
        StartSearch();
    }
}

void OnWrite() {
    if (!g_serial.portOpen) {
        StartSearch();
        return;
    }
    std::uint8_t command[kWriteCommandCapacity] = {};
    std::int32_t length = 0;
    BuildWriteCommand(command, &length);
    SendWriteCommand(command, length);
}

void OnRadio(int id) {
    int lamp = 0;
    std::uint32_t colour = 0;
    if (LampColourForRadio(id, &lamp, &colour)) {
        g_lamps.colour[lamp - 1] = colour;
        InvalidateLampArea();
    } else if (id == kIdHexOrDec || id == kIdTouchMemoryFormat) {
        ControlEnable(g_main.window, kIdHex, id == kIdHexOrDec);
        ControlEnable(g_main.window, kIdDec, id == kIdHexOrDec);
    }
}

void OnOperationTimer(int id) {
    if (!StepOperation(id)) return;
    if (id == kOpSearch) {
        RunSearch();
    } else {
        ReceiveReply();
    }
    // The end action may have started the next wait (the read after a USB
    // search); the main window then stays disabled until that one ends.
    if (g_progress.running == 0) EnableMainWindow();
}

}  // namespace

void OnMainCommand(int id, bool selectionChanged) {
    switch (id) {
        case kIdPortList:
            if (selectionChanged) OnPortPicked();
            break;
        case kIdSearch:
            Disconnect();
            StartSearch();
            break;
        case kIdRead:
            OnRead();
            break;
        case kIdWrite:
            OnWrite();
            break;
        case kIdQuit:
            WindowSendClose(g_main.window);
            break;
        case kIdRussian:
            SwitchLanguage(kLanguageRussian);
            break;
        case kIdEnglish:
            SwitchLanguage(kLanguageEnglish);
            break;
        case kIdHelp:
            OpenHelpDocument();
            break;
        case kIdAbout:
            ShowAboutBox();
            break;
        default:
            OnRadio(id);
            break;
    }
}

void OnMainTabChanged() {
    const int index = TabSelection(g_controls.handle[kSlotTabControl]);
    if (index != kReaderSerial && index != kReaderUsb) return;
    g_tabs.readerModel = index;
    SaveSettings();  // records the new tab; a failure warns and the change goes on
    ShowPageOfReaderModel();
    InvalidateLampArea();
    Disconnect();
    StartSearch();
}

void OnMainTimer(int id) {
    if (id == kOpSearch || id == kOpRead || id == kOpWrite) {
        OnOperationTimer(id);
    } else if (id == kTimerPortWatch) {
        OnPortWatchTimer();
    }
}

void OnMainDevicesChanged() { OnDevicesChanged(); }

void OnMainPaint() { PaintIndicatorPanel(); }

void OnMainRightClick(int x, int y) {
    MenuHandle menu = MenuCreatePopup();
    MenuAppendItem(menu, kIdQuit, g_lang.text.MenuQuit);
    MenuTrackAtClientPoint(menu, g_main.window, x, y);
    MenuDestroy(menu);
}

void OnMainDpiChanged(int dpi, const PixelRect& suggested) { ChangeDisplayScale(dpi, suggested); }

void OnMainDestroy() {
    for (int timer : {int{kOpSearch}, int{kOpRead}, int{kOpWrite}, kTimerPortWatch}) TimerStop(g_main.window, timer);
    Disconnect();
    ReleaseControlFont();
    PostQuit();
}

