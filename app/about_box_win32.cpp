#include <windows.h>

#include "app/about_box.h"

static_assert(kWmInitDialog == WM_INITDIALOG && kWmCommand == WM_COMMAND, "message numbers");
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL, "control ids");

static INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    const AboutDialogAction action = DecideAboutDialogMessage(message, wParam);
    if (action.endResult != 0) EndDialog(dialog, action.endResult);
    return action.handled ? TRUE : FALSE;
}

void RunAboutDialog(WindowHandle owner, int templateId) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), static_cast<HWND>(owner),
                    AboutDialogProc, 0);
}
