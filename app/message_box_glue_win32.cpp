#include <windows.h>

#include "app/message_box_glue.h"

int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style, unsigned kind) {
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = static_cast<HWND>(owner);
    params.hInstance = GetModuleHandleA(nullptr);
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = style | MB_USERICON;
    params.lpszIcon = MAKEINTRESOURCEA(kind & 0xFFFFu);
    params.dwContextHelpId = 0;
    params.lpfnMsgBoxCallback = nullptr;
    params.dwLanguageId = 0x400;
    return MessageBoxIndirectA(&params);
}

static_assert(kStyleIconError == MB_ICONERROR, "the error style is the system's error icon");

int ShowSystemMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}
