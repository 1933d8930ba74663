// Hook library loaded into the program under test. Wine refuses to read another process's menus,
// so the menu bar is walked here, inside the program, and sent back to the driver.
#include "menu_hook.h"

#include <windows.h>

#include <string>

#include "text_codec.h"

namespace {

std::string MenuJson(HMENU menu) {
    std::string json = "[";
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = L"";
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (position > 0) json += ",";
        json += "{\"id\":" + std::to_string(item.wID);
        json += ",\"separator\":" + std::string((item.fType & MFT_SEPARATOR) ? "true" : "false");
        json += ",\"checked\":" + std::string((item.fState & MFS_CHECKED) ? "true" : "false");
        json += ",\"grayed\":" + std::string((item.fState & MFS_GRAYED) ? "true" : "false");
        json += ",\"text\":\"" + HexOf(To1251(text, -1)) + "\"";
        if (item.hSubMenu != nullptr) json += ",\"items\":" + MenuJson(item.hSubMenu);
        json += "}";
    }
    return json + "]";
}

// The font a control was given, else the system font it draws in.
HGDIOBJ FontOf(HWND control) {
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
}

// Each shown control's caption: [id, style, width of its text in the control's own font, client width].
BOOL CALLBACK AddCaption(HWND control, LPARAM list) {
    wchar_t text[256] = L"";
    const int length = GetWindowTextW(control, text, 256);
    if (length == 0 || !IsWindowVisible(control)) return TRUE;
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, FontOf(control));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, length, &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    RECT client{};
    GetClientRect(control, &client);
    std::string& json = *reinterpret_cast<std::string*>(list);
    json += (json.back() == '[' ? "[" : ",[") + std::to_string(GetDlgCtrlID(control)) + "," +
            std::to_string(GetWindowLongW(control, GWL_STYLE) & 0xF) + "," + std::to_string(size.cx) + "," +
            std::to_string(client.right) + "]";
    return TRUE;
}

// Each control's font character set (FontOf): [id, charset].
BOOL CALLBACK AddCharset(HWND control, LPARAM list) {
    LOGFONTW face{};
    GetObjectW(FontOf(control), sizeof(face), &face);
    std::string& json = *reinterpret_cast<std::string*>(list);
    json += (json.back() == '[' ? "[" : ",[") + std::to_string(GetDlgCtrlID(control)) + "," +
            std::to_string(face.lfCharSet) + "]";
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHookProc(int code, WPARAM removal, LPARAM data) {
    static const UINT dumpMessage = RegisterWindowMessageW(kMenuDumpMessage);
    MSG* message = reinterpret_cast<MSG*>(data);
    // Answer once, when the message is taken off the queue, not when it is only peeked at.
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == dumpMessage) {
        HMENU bar = GetMenu(message->hwnd);
        std::string captions = "[";
        EnumChildWindows(message->hwnd, AddCaption, reinterpret_cast<LPARAM>(&captions));
        std::string charsets = "[";
        EnumChildWindows(message->hwnd, AddCharset, reinterpret_cast<LPARAM>(&charsets));
        std::string json = "{\"bar\":" + (bar != nullptr ? MenuJson(bar) : std::string("null")) +
                           ",\"captions\":" + captions + "],\"charsets\":" + charsets + "]}";
        COPYDATASTRUCT copy{static_cast<ULONG_PTR>(message->lParam), static_cast<DWORD>(json.size() + 1), json.data()};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(reinterpret_cast<HWND>(message->wParam), WM_COPYDATA,
                            reinterpret_cast<WPARAM>(message->hwnd), reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG,
                            2000, &ignored);
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, data);
}
