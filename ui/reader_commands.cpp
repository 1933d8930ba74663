#include "ui/reader_commands.h"

#include <cstdint>
#include <string>

#include "app/text/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_settings.h"
#include "protocol/reader_view.h"
#include "serial/current_port.h"
#include "ui/progress.h"

namespace {

void StartSearch() { StartOperationWithProgress(kOpSearch, kSearchPeriodMs); }

}  // namespace

void OnPortPicked() {
    const int index = PortListSelection();
    const std::string text = PortListText(index);
    if (text.empty()) {
        ReportMessage(g_lang.text.MsgNoComPorts, kMsgWarning);
        return;
    }
    ConnectToPickedPort(text, index);
    g_connection.readerVerified = true;
}

void OnSearch() {
    Disconnect();
    StartSearch();
}

void OnRead() {
    if (g_ports.portOpen) {
        SendReadCommand();
    } else {
        StartSearch();
    }
}

void OnWrite() {
    if (!g_ports.portOpen) {
        StartSearch();
        return;
    }
    std::uint8_t command[kWriteCommandCapacity] = {};
    std::int32_t length = 0;
    BuildWriteCommand(command, &length);
    SendWriteCommand(command, length);
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
    if (RunningOperation() == 0) EnableMainWindow();
}
