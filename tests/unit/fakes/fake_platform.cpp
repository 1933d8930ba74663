#include "tests/unit/fakes/fake_platform.h"

#include <algorithm>
#include <cstdint>

#include "app/main_window.h"
#include "ui/control_glue.h"
#include "ui/control_styles.h"
#include "ui/layout.h"
#include "app/menu_glue.h"
#include "app/message_box.h"
#include "app/startup_glue.h"
#include "app/menu_bar.h"
#include "app/texts.h"
#include "protocol/connection.h"
#include "serial/port_list.h"
#include "tests/unit/fakes/fake_port_table.h"
#include "tests/unit/fakes/fake_usb_devices.h"
#include "serial/port_watch.h"
#include "ui/progress.h"
#include "ui/lamps.h"
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
    g_controls = ControlsState{};
    g_lang = LanguageState{};
    g_fakePortTable = FakePortTable{};
    g_fakeUsb = FakeUsbDevices{};
    g_progress = ProgressState{};
    g_portWatch = PortWatchState{};
    g_portList = PortListState{};
    g_connection = ConnectionState{};
    g_lamps = LampState{};
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

int ShowSystemMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    g_fake.boxes.push_back({owner, text, caption, style, 0});
    return 1;
}

// ---- app/startup_glue.h
ScreenSize PrimaryScreenSize() { return {g_fake.screenWidth, g_fake.screenHeight}; }

WindowHandle WindowFindTopLevel(const char* title) {
    g_fake.calls.push_back(std::string("find:") + title);
    if (g_fake.otherWindowExists && g_fake.otherWindowTitle == title) return &g_fake;
    return nullptr;
}

bool WindowIsMinimized(WindowHandle) { return g_fake.otherWindowMinimized; }
void WindowRestore(WindowHandle) { g_fake.calls.push_back("restore"); }
void WindowToForeground(WindowHandle) { g_fake.calls.push_back("foreground"); }

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
void SleepMilliseconds(int milliseconds) { g_fake.sleeps.push_back(milliseconds); }

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

void MenuDestroy(MenuHandle menu) {
    g_fake.menus.at(IndexFromMenu(menu)).destroyed = true;
    g_fake.popupMenusAlive--;
}

void MenuTrackAtClientPoint(MenuHandle menu, WindowHandle, int, int) {
    g_fake.popupMenusAlive++;
    g_fake.popupMenuItems.clear();
    for (const FakeMenuItem& item : g_fake.menus.at(IndexFromMenu(menu)).items) g_fake.popupMenuItems.push_back(item.text);
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

// ---- ui/window_ops_glue.h
// Control handles encode the key of the control in g_fake.controls.
constexpr std::intptr_t kControlHandleBase = 0x100000;

static WindowHandle ControlHandle(int key) { return reinterpret_cast<WindowHandle>(kControlHandleBase + key); }

FakeControl& FakeControlOf(WindowHandle handle) {
    return g_fake.controls.at(static_cast<int>(reinterpret_cast<std::intptr_t>(handle) - kControlHandleBase));
}

void WindowSetText(WindowHandle window, const char* text) {
    if (window == FakeMainWindow()) {
        g_fake.mainTitle = text;
    } else {
        FakeControlOf(window).text = text;
    }
}

void WindowShow(WindowHandle window, bool show) { FakeControlOf(window).visible = show; }

void WindowEnable(WindowHandle window, bool enable) {
    if (window == FakeMainWindow()) {
        g_fake.mainEnabled = enable;
    } else {
        FakeControlOf(window).enabled = enable;
    }
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

int ComboCount(WindowHandle, int id) { return static_cast<int>(g_fake.controls[id].items.size()); }

std::string ComboText(WindowHandle, int id, int index) {
    const std::vector<std::string>& items = g_fake.controls[id].items;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return std::string();
    return items[static_cast<std::size_t>(index)];
}

int ComboSelection(WindowHandle, int id) { return g_fake.controls[id].selection; }

void ComboReset(WindowHandle, int id) {
    g_fake.controls[id].items.clear();
    g_fake.controls[id].selection = -1;
}

void ComboAdd(WindowHandle, int id, const char* text) { g_fake.controls[id].items.push_back(text); }

void ComboAddWide(WindowHandle, int id, const char16_t* text) {
    std::string narrow;
    for (const char16_t* c = text; *c != u'\0'; ++c) narrow.push_back(static_cast<char>(*c));
    g_fake.controls[id].items.push_back(narrow);
}

void ComboDelete(WindowHandle, int id, int index) {
    std::vector<std::string>& items = g_fake.controls[id].items;
    if (index >= 0 && static_cast<std::size_t>(index) < items.size()) items.erase(items.begin() + index);
}

void ComboSelect(WindowHandle, int id, int index) {
    const std::size_t count = g_fake.controls[id].items.size();
    g_fake.controls[id].selection = (index >= 0 && static_cast<std::size_t>(index) < count) ? index : -1;
}

// ---- ui/control_glue.h
void InitCommonControlClasses() { g_fake.commonControlsInitialised = true; }

WindowHandle ControlCreate(WindowHandle, const char* windowClass, const char* text, unsigned style, int x, int y,
                           int width, int height, int id) {
    const int key = id != 0 ? id : -static_cast<int>(g_fake.creationOrder.size() + 1);
    FakeControl& control = g_fake.controls[key];
    control.windowClass = windowClass;
    control.text = text;
    control.style = style;
    control.visible = (style & kWsVisible) != 0;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    g_fake.creationOrder.push_back(key);
    return ControlHandle(key);
}

void TabInsertItem(WindowHandle tab, int index, const char* text) {
    std::vector<std::string>& items = FakeControlOf(tab).items;
    items.insert(items.begin() + std::min<std::ptrdiff_t>(index, static_cast<std::ptrdiff_t>(items.size())), text);
}

void TabSelect(WindowHandle tab, int index) { FakeControlOf(tab).selection = index; }

int TabSelection(WindowHandle tab) { return FakeControlOf(tab).selection; }

// ---- ui/progress_glue.h
// Progress window handles encode their index in g_fake.progressWindows.
constexpr std::intptr_t kProgressHandleBase = 0x200000;

static FakeProgressWindow& ProgressOf(WindowHandle window) {
    return g_fake.progressWindows.at(
        static_cast<std::size_t>(reinterpret_cast<std::intptr_t>(window) - kProgressHandleBase));
}

const FakeProgressWindow* FakeLiveProgressWindow() {
    for (const FakeProgressWindow& window : g_fake.progressWindows)
        if (!window.destroyed) return &window;
    return nullptr;
}

WindowHandle ProgressCreate(WindowHandle owner, const char* title, int x, int y, int width, int height) {
    FakeProgressWindow window;
    window.title = title;
    window.owner = owner;
    window.x = x;
    window.y = y;
    window.width = width;
    window.height = height;
    g_fake.progressWindows.push_back(window);
    return reinterpret_cast<WindowHandle>(kProgressHandleBase +
                                          static_cast<std::intptr_t>(g_fake.progressWindows.size() - 1));
}

void ProgressSetRange(WindowHandle progress, int high) { ProgressOf(progress).rangeHigh = high; }
void ProgressSetStep(WindowHandle progress, int step) { ProgressOf(progress).step = step; }
void ProgressSetPosition(WindowHandle progress, int position) { ProgressOf(progress).position = position; }

void ProgressStep(WindowHandle progress) {
    FakeProgressWindow& window = ProgressOf(progress);
    window.position += window.step;
}

void WindowDestroy(WindowHandle window) { ProgressOf(window).destroyed = true; }

void TimerStart(WindowHandle, int id, int periodMs) { g_fake.timers[id] = periodMs; }
void TimerStop(WindowHandle, int id) { g_fake.timers.erase(id); }
