#include <windows.h>

#include "app/about_box_glue.h"

static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL, "control ids");

// Handles its initialisation (focus stays with OK) and every command; the low
// word of a command is the control id, the high word its notification.
static INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    const int result = AboutDialogEndResult(LOWORD(wParam));
    if (result != 0) EndDialog(dialog, result);
    return TRUE;
}

void RunAboutDialog(WindowHandle owner, int templateId) {
    // A Unicode dialog: its template's UTF-16 texts reach the controls as they are, on any code page.
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), static_cast<HWND>(owner), AboutDialogProc,
                    0);
}
