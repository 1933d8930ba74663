#include <windows.h>
#include <commctrl.h>

#include "app/wide_text_glue.h"
#include "ui/control_glue.h"
#include "ui/control_styles.h"
#include "ui/window_state.h"

static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsClipSiblings == WS_CLIPSIBLINGS, "styles");
static_assert(kWsGroup == WS_GROUP && kCbsDropDownList == CBS_DROPDOWNLIST && kSsLeft == SS_LEFT, "styles");
static_assert(kBsPushButton == BS_PUSHBUTTON && kBsGroupBox == BS_GROUPBOX, "styles");
static_assert(kBsAutoRadioButton == BS_AUTORADIOBUTTON, "styles");

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
}

WindowHandle ControlCreate(WindowHandle parent, const char* windowClass, const char* text, unsigned style, int x, int y,
                           int width, int height, int id) {
    return CreateWindowExW(0, WideText(windowClass).c_str(), WideText(text).c_str(), style, x, y, width, height,
                           static_cast<HWND>(parent), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
}

void ControlMove(WindowHandle control, int x, int y, int width, int height) {
    MoveWindow(static_cast<HWND>(control), x, y, width, height, TRUE);
}

static_assert(kCyrillicCharset == RUSSIAN_CHARSET, "character set");

static LOGFONTW SystemFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    return font;
}

int SystemFontCharset() { return SystemFont().lfCharSet; }

FontHandle FontCreateFromSystem(int fromDpi, int toDpi, int charset) {
    LOGFONTW font = SystemFont();
    font.lfHeight = MulDiv(font.lfHeight, toDpi, fromDpi);
    font.lfWidth = MulDiv(font.lfWidth, toDpi, fromDpi);
    font.lfCharSet = static_cast<BYTE>(charset);
    return CreateFontIndirectW(&font);
}

void ControlSetFont(WindowHandle control, FontHandle font) {
    SendMessageW(static_cast<HWND>(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void FontDelete(FontHandle font) { DeleteObject(static_cast<HGDIOBJ>(font)); }

void TabInsertItem(WindowHandle tab, int index, const char* text) {
    std::wstring wide = WideText(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = &wide[0];
    item.iImage = -1;
    SendMessageW(static_cast<HWND>(tab), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TabSelect(WindowHandle tab, int index) {
    SendMessageW(static_cast<HWND>(tab), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TabSelection(WindowHandle tab) {
    return static_cast<int>(SendMessageW(static_cast<HWND>(tab), TCM_GETCURSEL, 0, 0));
}
