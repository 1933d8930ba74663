#include <windows.h>

#include "ui/window_ops.h"

static HWND Hwnd(WindowHandle window) { return static_cast<HWND>(window); }

void WindowSetText(WindowHandle window, const char* text) {
    SendMessageA(Hwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void WindowShow(WindowHandle window, bool show) { ShowWindow(Hwnd(window), show ? SW_SHOW : SW_HIDE); }

void WindowEnable(WindowHandle window, bool enable) { EnableWindow(Hwnd(window), enable ? TRUE : FALSE); }

void WindowInvalidate(WindowHandle window, const PixelRect& area, bool erase) {
    RECT rect{area.left, area.top, area.right, area.bottom};
    InvalidateRect(Hwnd(window), &rect, erase ? TRUE : FALSE);
}

void ControlSetText(WindowHandle parent, int id, const char* text) {
    SetWindowTextA(GetDlgItem(Hwnd(parent), id), text);
}

void ControlEnable(WindowHandle parent, int id, bool enable) {
    EnableWindow(GetDlgItem(Hwnd(parent), id), enable ? TRUE : FALSE);
}

void RadioCheckInRange(WindowHandle parent, int first, int last, int checked) {
    CheckRadioButton(Hwnd(parent), first, last, checked);
}

bool RadioIsChecked(WindowHandle parent, int id) {
    return IsDlgButtonChecked(Hwnd(parent), id) == BST_CHECKED;
}
