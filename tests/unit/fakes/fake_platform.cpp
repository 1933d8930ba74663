#include "tests/unit/fakes/fake_platform.h"

#include <cstdint>

#include "app/main_window.h"
#include "app/menu_glue.h"
#include "app/message_box.h"
#include "app/shell_glue.h"
#include "app/menu_bar.h"
#include "app/texts.h"
#include "ui/tab_pages.h"

FakePlatform g_fake;

namespace {
char g_mainWindowToken;

MenuHandle MenuFromIndex(std::size_t index) { return reinterpret_cast<MenuHandle>(index + 1); }
std::size_t IndexFromMenu(MenuHandle menu) { return reinterpret_cast<std::uintptr_t>(menu) - 1; }
}  // namespace

WindowHandle FakeMainWindow() { return &g_mainWindowToken; }

void ResetFakePlatform() {
    g_fake = FakePlatform{};
    g_main = MainWindowState{};
    g_menuBar = MenuBarState{};
    g_tabs = TabPageState{};
    g_lang = LanguageState{};
    SelectLanguageTexts();
}

const FakeMenu& FakeMenuOf(MenuHandle handle) { return g_fake.menus.at(IndexFromMenu(handle)); }

const FakeMenu& FakeBarPopup(int position) {
    const FakeMenu& bar = g_fake.menus.at(static_cast<std::size_t>(g_fake.attachedMenu));
    return g_fake.menus.at(static_cast<std::size_t>(bar.items.at(static_cast<std::size_t>(position)).submenu));
}

const std::string& FakeBarText(int position) {
    const FakeMenu& bar = g_fake.menus.at(static_cast<std::size_t>(g_fake.attachedMenu));
    return bar.items.at(static_cast<std::size_t>(position)).text;
}

// ---- app/message_box.h
int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style, unsigned kind) {
    g_fake.boxes.push_back({owner, text, caption, style, kind});
    return 1;
}

// ---- app/shell_glue.h
ScreenSize PrimaryScreenSize() { return {g_fake.screenWidth, g_fake.screenHeight}; }

WindowHandle WindowFindTopLevel(const char* title) {
    g_fake.calls.push_back(std::string("find:") + title);
    if (g_fake.otherWindowExists && g_fake.otherWindowTitle == title) return &g_fake;
    return nullptr;
}

void WindowRestoreAndForeground(WindowHandle) { g_fake.calls.push_back("restore+foreground"); }

bool WindowRegisterMainClass() {
    g_fake.calls.push_back("register");
    return !g_fake.classRegistrationFails;
}

WindowHandle WindowCreateMain(const char* title, int x, int y, int width, int height) {
    g_fake.calls.push_back("create");
    if (g_fake.windowCreationFails) return nullptr;
    g_fake.mainTitle = title;
    g_fake.mainX = x;
    g_fake.mainY = y;
    g_fake.mainWidth = width;
    g_fake.mainHeight = height;
    return FakeMainWindow();
}

void WindowShowAndPaint(WindowHandle) { g_fake.calls.push_back("show"); }
void WindowMakeTopmost(WindowHandle) { g_fake.calls.push_back("topmost"); }
void RunMessageLoop() { g_fake.calls.push_back("loop"); }
void PostQuit() { g_fake.calls.push_back("quit"); }
void WindowSendClose(WindowHandle) { g_fake.calls.push_back("close"); }

// ---- app/menu_glue.h
static MenuHandle NewMenu(bool popup) {
    g_fake.menus.push_back(FakeMenu{});
    g_fake.menus.back().popup = popup;
    return MenuFromIndex(g_fake.menus.size() - 1);
}

MenuHandle MenuCreateBar() { return NewMenu(false); }
MenuHandle MenuCreatePopup() { return NewMenu(true); }

void MenuAppendItem(MenuHandle menu, int id, const char* text) {
    FakeMenuItem item;
    item.id = id;
    item.text = text;
    g_fake.menus.at(IndexFromMenu(menu)).items.push_back(item);
}

void MenuAppendSeparator(MenuHandle menu) {
    FakeMenuItem item;
    item.separator = true;
    g_fake.menus.at(IndexFromMenu(menu)).items.push_back(item);
}

void MenuAppendSubmenu(MenuHandle menu, MenuHandle submenu, const char* text) {
    FakeMenuItem item;
    item.text = text;
    item.submenu = static_cast<int>(IndexFromMenu(submenu));
    g_fake.menus.at(IndexFromMenu(menu)).items.push_back(item);
}

void MenuSetCheck(MenuHandle menu, int id, bool checked) {
    for (FakeMenuItem& item : g_fake.menus.at(IndexFromMenu(menu)).items) {
        if (item.id == id && item.submenu < 0 && !item.separator) item.checked = checked;
    }
}

void MenuAttach(WindowHandle, MenuHandle bar) { g_fake.attachedMenu = static_cast<int>(IndexFromMenu(bar)); }

static void DestroyMenuTree(int index) {
    FakeMenu& menu = g_fake.menus.at(static_cast<std::size_t>(index));
    menu.destroyed = true;
    for (const FakeMenuItem& item : menu.items) {
        if (item.submenu >= 0) DestroyMenuTree(item.submenu);
    }
}

void MenuDestroyAttached(WindowHandle) {
    if (g_fake.attachedMenu >= 0) DestroyMenuTree(g_fake.attachedMenu);
}

// ---- ui/window_ops.h
void WindowSetText(WindowHandle window, const char* text) {
    if (window == FakeMainWindow()) g_fake.mainTitle = text;
}
void WindowShow(WindowHandle, bool) {}
void WindowEnable(WindowHandle window, bool enable) {
    if (window == FakeMainWindow()) g_fake.mainEnabled = enable;
}
void WindowInvalidate(WindowHandle, const PixelRect& area, bool) { g_fake.invalidated.push_back(area); }

void ControlSetText(WindowHandle, int id, const char* text) { g_fake.controls[id].text = text; }
void ControlEnable(WindowHandle, int id, bool enable) { g_fake.controls[id].enabled = enable; }

void RadioCheckInRange(WindowHandle, int first, int last, int checked) {
    for (int id = first; id <= last; ++id) g_fake.controls[id].checked = (id == checked);
}

bool RadioIsChecked(WindowHandle, int id) {
    auto found = g_fake.controls.find(id);
    return found != g_fake.controls.end() && found->second.checked;
}
