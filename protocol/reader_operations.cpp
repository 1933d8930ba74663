#include "protocol/reader_operations.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/format.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_settings.h"
#include "protocol/reply_classifier.h"
#include "serial/port_list.h"
#include "serial/current_port.h"
#include "serial/usb_locator.h"
#include "ui/command_ids.h"
#include "ui/progress.h"
#include "ui/tab_pages.h"
#include "ui/window_ops_glue.h"

namespace {

constexpr int kSearchReplyPauseMs = 100;

const std::uint8_t* Bytes(const char* text) { return reinterpret_cast<const std::uint8_t*>(text); }

void EnablePortList(bool enable) { ControlEnable(g_main.window, kIdPortList, enable); }

void ReportFound(const char* found) {
    ReportMessage(FormatText("%s\n\r->[%s]", found, g_serial.portName).c_str(), kMsgSuccess);
}

void ReportNotFound(const char* notFound) {
    ReportMessage(notFound, kMsgError);
    ReportMessage(g_lang.text.MsgSelectPortHint, kMsgHint);
}

void ReportNoResponse() {
    ReportMessage(g_lang.text.MsgNoResponse, kMsgNoResponse);
    EnablePortList(true);
}

}  // namespace

void SendReadCommand() {
    const char* command = ReadCommandOf(g_tabs.readerModel);
    if (command == nullptr) return;
    if (WritePort(Bytes(command), kReadCommandLength)) {
        StartOperationWithProgress(kOpRead, kReplyPeriodMs);
    } else {
        Disconnect();
    }
}

void SendWriteCommand(const std::uint8_t* command, std::int32_t length) {
    if (WritePort(command, length)) {
        StartOperationWithProgress(kOpWrite, kReplyPeriodMs);
    } else {
        Disconnect();
    }
}

void ConnectAndRead() {
    if (OpenPort(g_serial.portName, kBaudRate)) {
        g_serial.portOpen = true;
        EnablePortList(false);
        SendReadCommand();
        return;
    }
    ReportOpenFailure(g_serial.portName);
    RefreshPortList();
}

void ReportOpenFailure(const char* name) {
    ReportMessage(FormatText("%s [%s]!", g_lang.text.MsgErrorOpening, name).c_str(), kMsgError);
}

void ConnectToPickedPort(const std::string& name, int position) {
    // A name too long for a port name is no port: it cannot be opened.
    if (!SetCurrentPortName(name)) {
        ReportOpenFailure(name.c_str());
        RefreshPortList();
        return;
    }
    g_portList.selectedIndex = position;
    ConnectAndRead();
}

int ReceiveReply() {
    std::uint8_t buffer[kReplyBufferSize] = {};
    std::int32_t length = 0;
    if (!ReadPort(buffer, kReplyBufferSize, &length)) {
        if (g_connection.readerVerified) ReportNoResponse();
        Disconnect();
        return kReplyUnrecognized;
    }
    // The class alone decides the message, whichever command was sent.
    const int replyClass = ClassifyReply(buffer, length);
    if (replyClass == kReplyOkWithPayload) {
        ReportMessage(g_lang.text.MsgSettingsRead, kMsgSuccess);
        // The port watch may have dropped the connection while the box was up: nothing is shown, or
        // found, for a reader that is gone.
        if (!g_serial.portOpen) return kReplyUnrecognized;
        ApplySettingsPayload(buffer);
        return replyClass;
    }
    if (replyClass == kReplyOk) {
        ReportMessage(g_lang.text.MsgSettingsWritten, kMsgSuccess);
        return replyClass;
    }
    if (g_connection.quietSearch) return replyClass;
    ReportMessage(replyClass == kReplyUnrecognized ? g_lang.text.MsgUnrecognized : g_lang.text.MsgInvalidCommand,
                  kMsgError);
    if (g_connection.readerVerified) {
        Disconnect();
        ReportNoResponse();
    }
    return replyClass;
}

void RunSearch() {
    EnablePortList(true);
    if (!EnumerateSerialPorts()) {
        ShowPortPlaceholder();
        ReportMessage(g_lang.text.MsgNoComPorts, kMsgWarning);
        return;
    }
    SortPortList();
    if (g_tabs.readerModel == kReaderSerial) SearchSerialReader();
    if (g_tabs.readerModel == kReaderUsb) LocateUsbReader();
}

void SearchSerialReader() {
    WindowEnable(g_main.window, false);
    // The names as listed now: each failed probe refills the list from the system, and a port that came
    // or went meanwhile would shift the positions, so that a port could be skipped.
    std::vector<std::string> names;
    const int count = std::min(ComboCount(g_main.window, kIdPortList), kMaxListedPorts);
    for (int position = 0; position < count; ++position) {
        names.push_back(ComboText(g_main.window, kIdPortList, position));
    }
    bool found = false;
    for (int position = 0; position < count && !found; ++position) {
        // A name too long for a port name cannot be a port: it is not tried.
        if (!SetCurrentPortName(names[position])) continue;
        g_portList.selectedIndex = position;
        if (!OpenPort(g_serial.portName, kBaudRate)) continue;
        EnablePortList(false);
        g_serial.portOpen = true;
        g_connection.quietSearch = true;
        if (WritePort(Bytes(kReadCommandSerial), kReadCommandLength)) {
            SleepMilliseconds(kSearchReplyPauseMs);
            if (ReceiveReply() == kReplyOkWithPayload && g_connection.settingsValid) {
                g_connection.readerVerified = true;
                g_connection.quietSearch = false;
                found = true;
                break;
            }
        }
        Disconnect();
    }
    if (found) {
        ReportFound(g_lang.text.MsgFoundSerial);
        SelectPortByName(g_serial.portName, &g_portList.selectedIndex);
    } else {
        EnablePortList(true);
        ReportNotFound(g_lang.text.MsgNotFoundSerial);
    }
    EnableMainWindow();
}

void LocateUsbReader() {
    std::string port;
    if (!FindUsbReaderPort(&port)) {
        ReportNotFound(g_lang.text.MsgNotFoundUsb);
        return;
    }
    SetCurrentPortName(port);  // the locator only gives names that fit
    ReportFound(g_lang.text.MsgFoundUsb);
    SelectPortByName(g_serial.portName, &g_portList.selectedIndex);
    if (!g_serial.portOpen) ConnectAndRead();
}
