#include "serial/port_watch.h"

#include <string>

#include "app/text/texts.h"
#include "base/format.h"
#include "serial/current_port.h"
#include "serial/port_list.h"
#include "serial/port_table.h"
#include "serial/port_view.h"
#include "serial/usb_locator.h"

namespace {

// The port of a connected reader: renewed silently when it still exists,
// otherwise the connection is reported as broken and dropped.
void RecheckOpenPort() {
    ReleasePortHandle();
    Pause(kReopenDelayMs);
    if (IsPortPresent(g_ports.portName)) {
        if (OpenPort(g_ports.portName, kBaudRate)) return;
        EndReplyWait();  // it was missing when the check began, so a wait may still be running
        ReportOpenFailure(g_ports.portName);
        Disconnect();
        return;
    }
    // A read or write still waiting for its reply ends here, before the box
    // (whose message loop would otherwise let it read from the closed port).
    EndReplyWait();
    if (SerialReaderShown()) {
        ReportMessage(
            FormatText("%s\n\r(%s %s)", g_lang.text.MsgConnectionBroken, g_ports.portName, g_lang.text.WordDisabled)
                .c_str(),
            kMsgError);
    } else if (UsbReaderShown()) {
        ReportMessage(g_lang.text.MsgUsbDisconnected, kMsgError);
    }
    PortListDelete(g_ports.selectedIndex);
    PortListSelect(0);
    Disconnect();
}

// With nothing connected: search when the reader may have appeared.
void WatchForNewReader() {
    if (UsbReaderShown()) {
        RefreshPortList();
        std::string port;
        if (FindUsbReaderPort(&port)) {
            SetCurrentPortName(port);
            StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
        }
        return;
    }
    if (!SerialReaderShown()) return;
    const int countBefore = PortListCount();
    const std::string firstBefore = PortListText(0);
    RefreshPortList();
    const int countAfter = PortListCount();
    const std::string firstAfter = PortListText(0);
    if (countAfter > countBefore || (firstBefore.empty() && firstAfter != firstBefore)) {
        StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    }
}

}  // namespace

void OnDevicesChanged() {
    if (g_ports.watchPending) return;
    g_ports.watchPending = true;
    StartTimer(kTimerPortWatch, kPortWatchDelayMs);
}

void OnPortWatchTimer() {
    StopTimer(kTimerPortWatch);
    // Cleared before any wait or message box, so a new notification arms the check again.
    g_ports.watchPending = false;
    // Closing the port would drop a reply on its way in: while one is awaited from a port that is still
    // there, the check waits for another round.
    if (g_ports.portOpen && ReplyAwaited() && IsPortPresent(g_ports.portName)) {
        OnDevicesChanged();
        return;
    }
    if (g_ports.portOpen) {
        RecheckOpenPort();
    } else {
        WatchForNewReader();
    }
}
