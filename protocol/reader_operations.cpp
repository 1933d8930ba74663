#include "protocol/reader_operations.h"

#include "app/text/texts.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_settings.h"
#include "protocol/reader_view.h"
#include "protocol/reply_classifier.h"
#include "serial/current_port.h"
#include "serial/port_list.h"

namespace {

void ReportNoResponse() {
    ReportMessage(g_lang.text.MsgNoResponse, kMsgNoResponse);
    PortListEnable(true);
}

}  // namespace

void SendReadCommand() {
    const char* command = ReadCommandOf(ShownReaderModel());
    if (command == nullptr) return;
    if (WritePort(reinterpret_cast<const std::uint8_t*>(command), kReadCommandLength)) {
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
    if (OpenPort(g_ports.portName, kBaudRate)) {
        g_ports.portOpen = true;
        PortListEnable(false);
        SendReadCommand();
        return;
    }
    ReportOpenFailure(g_ports.portName);
    RefreshPortList();
}

void ConnectToPickedPort(const std::string& name, int position) {
    // A name too long for a port name is no port: it cannot be opened.
    if (!SetCurrentPortName(name)) {
        ReportOpenFailure(name.c_str());
        RefreshPortList();
        return;
    }
    g_ports.selectedIndex = position;
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
        if (!g_ports.portOpen) return kReplyUnrecognized;
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
