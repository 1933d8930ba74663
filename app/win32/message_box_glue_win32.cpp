#include <windows.h>

#include "app/message_box_glue.h"
#include "app/wide_text_glue.h"

int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style, unsigned kind) {
    const std::wstring wideText = WideText(text);
    const std::wstring wideCaption = WideText(caption);
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = static_cast<HWND>(owner);
    params.hInstance = GetModuleHandleW(nullptr);
    params.lpszText = wideText.c_str();
    params.lpszCaption = wideCaption.c_str();
    params.dwStyle = style | MB_USERICON;
    params.lpszIcon = MAKEINTRESOURCEW(kind & 0xFFFFu);
    params.dwContextHelpId = 0;
    params.lpfnMsgBoxCallback = nullptr;
    params.dwLanguageId = 0x400;
    return MessageBoxIndirectW(&params);
}

static_assert(kStyleIconError == MB_ICONERROR, "the error style is the system's error icon");

int ShowSystemMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    return MessageBoxW(static_cast<HWND>(owner), WideText(text).c_str(), WideText(caption).c_str(), style);
}
