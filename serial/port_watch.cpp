#include "serial/port_watch.h"

#include <string>

#include "app/format.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/startup_glue.h"
#include "app/texts.h"
#include "protocol/connection.h"
#include "protocol/reader_operations.h"
#include "serial/port_list.h"
#include "serial/current_port.h"
#include "serial/port_table.h"
#include "serial/usb_locator.h"
#include "ui/command_ids.h"
#include "ui/progress.h"
#include "ui/progress_glue.h"
#include "ui/tab_pages.h"
#include "ui/window_ops_glue.h"

PortWatchState g_portWatch;

namespace {

// The port of a connected reader: renewed silently when it still exists,
// otherwise the connection is reported as broken and dropped.
void RecheckOpenPort() {
    ReleasePortHandle();
    SleepMilliseconds(kReopenDelayMs);
    if (IsPortPresent(g_serial.portName)) {
        if (OpenPort(g_serial.portName, kBaudRate)) return;
        EndReplyWait();  // it was missing when the check began, so a wait may still be running
        ReportOpenFailure(g_serial.portName);
        Disconnect();
        return;
    }
    // A read or write still waiting for its reply ends here, before the box
    // (whose message loop would otherwise let it read from the closed port).
    EndReplyWait();
    if (g_tabs.readerModel == kReaderSerial) {
        ReportMessage(FormatText("%s\n\r(%s %s)", g_lang.text.MsgConnectionBroken, g_serial.portName,
                                 g_lang.text.WordDisabled)
                          .c_str(),
                      kMsgError);
    } else if (g_tabs.readerModel == kReaderUsb) {
        ReportMessage(g_lang.text.MsgUsbDisconnected, kMsgError);
    }
    ComboDelete(g_main.window, kIdPortList, g_portList.selectedIndex);
    ComboSelect(g_main.window, kIdPortList, 0);
    Disconnect();
}

// With nothing connected: search when the reader may have appeared.
void WatchForNewReader() {
    if (g_tabs.readerModel == kReaderUsb) {
        RefreshPortList();
        std::string port;
        if (FindUsbReaderPort(&port)) {
            SetCurrentPortName(port);
            StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
        }
        return;
    }
    if (g_tabs.readerModel != kReaderSerial) return;
    const int countBefore = ComboCount(g_main.window, kIdPortList);
    const std::string firstBefore = ComboText(g_main.window, kIdPortList, 0);
    RefreshPortList();
    const int countAfter = ComboCount(g_main.window, kIdPortList);
    const std::string firstAfter = ComboText(g_main.window, kIdPortList, 0);
    if (countAfter > countBefore || (firstBefore.empty() && firstAfter != firstBefore)) {
        StartOperationWithProgress(kOpSearch, kSearchPeriodMs);
    }
}

}  // namespace

void OnDevicesChanged() {
    if (g_portWatch.pending) return;
    g_portWatch.pending = true;
    TimerStart(g_main.window, kTimerPortWatch, kPortWatchDelayMs);
}

void OnPortWatchTimer() {
    TimerStop(g_main.window, kTimerPortWatch);
    // Cleared before any wait or message box, so a new notification arms the check again.
    g_portWatch.pending = false;
    // Closing the port would drop a reply on its way in: while one is awaited from a port that is still
    // there, the check waits for another round.
    const bool replyAwaited = g_progress.running == kOpRead || g_progress.running == kOpWrite;
    if (g_serial.portOpen && replyAwaited && IsPortPresent(g_serial.portName)) {
        OnDevicesChanged();
        return;
    }
    if (g_serial.portOpen) {
        RecheckOpenPort();
    } else {
        WatchForNewReader();
    }
}
