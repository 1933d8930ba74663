#include <windows.h>
#include <commctrl.h>

#include "ui/control_glue.h"
#include "ui/control_styles.h"

static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsClipSiblings == WS_CLIPSIBLINGS, "styles");
static_assert(kWsGroup == WS_GROUP && kCbsDropDownList == CBS_DROPDOWNLIST && kSsLeft == SS_LEFT, "styles");
static_assert(kBsPushButton == BS_PUSHBUTTON && kBsGroupBox == BS_GROUPBOX, "styles");
static_assert(kBsAutoRadioButton == BS_AUTORADIOBUTTON, "styles");

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
}

WindowHandle ControlCreate(WindowHandle parent, const char* windowClass, const char* text, unsigned style, int x,
                           int y, int width, int height, int id) {
    return CreateWindowExA(0, windowClass, text, style, x, y, width, height, static_cast<HWND>(parent),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void ControlMove(WindowHandle control, int x, int y, int width, int height) {
    MoveWindow(static_cast<HWND>(control), x, y, width, height, TRUE);
}

FontHandle FontCreateScaled(int fromDpi, int toDpi) {
    LOGFONTA font{};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    font.lfHeight = MulDiv(font.lfHeight, toDpi, fromDpi);
    font.lfWidth = MulDiv(font.lfWidth, toDpi, fromDpi);
    return CreateFontIndirectA(&font);
}

void ControlSetFont(WindowHandle control, FontHandle font) {
    SendMessageA(static_cast<HWND>(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void FontDelete(FontHandle font) { DeleteObject(static_cast<HGDIOBJ>(font)); }

void TabInsertItem(WindowHandle tab, int index, const char* text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(text);
    item.iImage = -1;
    SendMessageA(static_cast<HWND>(tab), TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TabSelect(WindowHandle tab, int index) {
    SendMessageA(static_cast<HWND>(tab), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TabSelection(WindowHandle tab) {
    return static_cast<int>(SendMessageA(static_cast<HWND>(tab), TCM_GETCURSEL, 0, 0));
}
