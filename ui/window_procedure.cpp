#include "ui/window_procedure.h"

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "protocol/control_ids.h"
#include "serial/port_view.h"
#include "serial/port_watch.h"
#include "ui/indicator_panel.h"
#include "ui/page_commands.h"
#include "ui/reader_commands.h"
#include "ui/shell_commands.h"

void OnMainCommand(int id, bool selectionChanged) {
    switch (id) {
        case kIdPortList:
            if (selectionChanged) OnPortPicked();
            break;
        case kIdSearch:
            OnSearch();
            break;
        case kIdRead:
            OnRead();
            break;
        case kIdWrite:
            OnWrite();
            break;
        case kIdQuit:
        case kIdRussian:
        case kIdEnglish:
        case kIdHelp:
        case kIdAbout:
            OnMenuCommand(id);
            break;
        default:
            OnRadio(id);
            break;
    }
}

void OnMainTabChanged() { OnTabChanged(); }

void OnMainTimer(int id) {
    if (id == kOpSearch || id == kOpRead || id == kOpWrite) {
        OnOperationTimer(id);
    } else if (id == kTimerPortWatch) {
        OnPortWatchTimer();
    }
}

void OnMainDevicesChanged() { OnDevicesChanged(); }

void OnMainPaint() { PaintIndicatorPanel(); }

void OnMainRightClick(int x, int y) { OnShellMenu(x, y); }

void OnMainDpiChanged(int dpi, const PixelRect& suggested) { ChangeDisplayScale(dpi, suggested); }

void OnMainDestroy() { OnWindowGone(); }
