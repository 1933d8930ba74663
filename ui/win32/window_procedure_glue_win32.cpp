#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include "ui/window_procedure.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnMainCommand(LOWORD(wParam), HIWORD(wParam) == CBN_SELCHANGE);
            break;
        case WM_NOTIFY:
            if (lParam != 0 && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) OnMainTabChanged();
            break;
        case WM_PAINT:
            OnMainPaint();
            break;
        case WM_TIMER:
            OnMainTimer(LOWORD(wParam));
            break;
        case WM_DEVICECHANGE:
            if (wParam == DBT_DEVNODES_CHANGED) OnMainDevicesChanged();
            break;
        case WM_RBUTTONUP:
            OnMainRightClick(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            OnMainDpiChanged(LOWORD(wParam), {suggested->left, suggested->top, suggested->right, suggested->bottom});
            break;
        }
        case WM_DESTROY:
            OnMainDestroy();
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
