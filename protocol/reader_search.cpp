#include <algorithm>
#include <string>
#include <vector>

#include "app/text/texts.h"
#include "base/format.h"
#include "protocol/commands.h"
#include "protocol/connection.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_view.h"
#include "protocol/reply_classifier.h"
#include "serial/current_port.h"
#include "serial/port_list.h"
#include "serial/usb_locator.h"

namespace {

constexpr int kSearchReplyPauseMs = 100;

void ReportFound(const char* found) {
    ReportMessage(FormatText("%s\n\r->[%s]", found, g_ports.portName).c_str(), kMsgSuccess);
}

void ReportNotFound(const char* notFound) {
    ReportMessage(notFound, kMsgError);
    ReportMessage(g_lang.text.MsgSelectPortHint, kMsgHint);
}

}  // namespace

void RunSearch() {
    PortListEnable(true);
    if (!EnumerateSerialPorts()) {
        ShowPortPlaceholder();
        ReportMessage(g_lang.text.MsgNoComPorts, kMsgWarning);
        return;
    }
    SortPortList();
    if (ShownReaderModel() == kReaderSerial) SearchSerialReader();
    if (ShownReaderModel() == kReaderUsb) LocateUsbReader();
}

void SearchSerialReader() {
    DisableMainWindow();
    // The names as listed now: each failed probe refills the list from the system, and a port that came
    // or went meanwhile would shift the positions, so that a port could be skipped.
    std::vector<std::string> names;
    const int count = std::min(PortListCount(), kMaxListedPorts);
    for (int position = 0; position < count; ++position) names.push_back(PortListText(position));
    bool found = false;
    for (int position = 0; position < count && !found; ++position) {
        // A name too long for a port name cannot be a port: it is not tried.
        if (!SetCurrentPortName(names[position])) continue;
        g_ports.selectedIndex = position;
        if (!OpenPort(g_ports.portName, kBaudRate)) continue;
        PortListEnable(false);
        g_ports.portOpen = true;
        g_connection.quietSearch = true;
        if (WritePort(reinterpret_cast<const std::uint8_t*>(kReadCommandSerial), kReadCommandLength)) {
            Pause(kSearchReplyPauseMs);
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
        SelectPortByName(g_ports.portName, &g_ports.selectedIndex);
    } else {
        PortListEnable(true);
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
    SelectPortByName(g_ports.portName, &g_ports.selectedIndex);
    if (!g_ports.portOpen) ConnectAndRead();
}
