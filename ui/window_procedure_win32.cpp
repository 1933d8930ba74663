#include <windows.h>

#include "ui/window_procedure.h"

static_assert(kWmDestroy == WM_DESTROY && kWmPaint == WM_PAINT && kWmNotify == WM_NOTIFY, "message numbers");
static_assert(kWmCommand == WM_COMMAND && kWmTimer == WM_TIMER, "message numbers");
static_assert(kWmRButtonUp == WM_RBUTTONUP && kWmDeviceChange == WM_DEVICECHANGE, "message numbers");

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int notifyCode = 0;
    if (message == WM_NOTIFY && lParam != 0) notifyCode = static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code);
    HandleMainWindowMessage({message, wParam, lParam, notifyCode});
    return DefWindowProcA(window, message, wParam, lParam);
}
