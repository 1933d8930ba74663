#include <windows.h>
#include <commctrl.h>

#include "app/wide_text_glue.h"
#include "ui/progress_glue.h"

static HWND Hwnd(WindowHandle window) { return static_cast<HWND>(window); }

WindowHandle ProgressCreate(WindowHandle owner, const char* title, int x, int y, int width, int height) {
    return CreateWindowExW(0, PROGRESS_CLASSW, WideText(title).c_str(), WS_VISIBLE | PBS_SMOOTH, x, y, width, height,
                           Hwnd(owner), nullptr, nullptr, nullptr);
}

void ProgressSetRange(WindowHandle progress, int high) {
    SendMessageW(Hwnd(progress), PBM_SETRANGE, 0, MAKELPARAM(0, high));
}

void ProgressSetStep(WindowHandle progress, int step) {
    SendMessageW(Hwnd(progress), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void ProgressSetPosition(WindowHandle progress, int position) {
    SendMessageW(Hwnd(progress), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ProgressStep(WindowHandle progress) { SendMessageW(Hwnd(progress), PBM_STEPIT, 0, 0); }

void WindowDestroy(WindowHandle window) { DestroyWindow(Hwnd(window)); }

void TimerStart(WindowHandle window, int id, int periodMs) {
    SetTimer(Hwnd(window), static_cast<UINT_PTR>(id), static_cast<UINT>(periodMs), nullptr);
}

void TimerStop(WindowHandle window, int id) { KillTimer(Hwnd(window), static_cast<UINT_PTR>(id)); }
