#include <vector>

#include "app/menu_glue.h"
#include "testkit/fakes/fakes.h"

// A menu is kept as the texts of its items ("*" before a checked one, "-" a separator, a submenu's items in
// brackets after its name) and the number of menus it holds, to count those not destroyed.
struct FakeMenu {
    std::vector<int> ids;
    std::vector<std::string> items;
    int menus = 1;
};
static std::vector<FakeMenu> g_menus;  // a handle is its index + 1
static int g_attachedMenus = 0;

static FakeMenu& Menu(MenuHandle menu) { return g_menus[reinterpret_cast<std::uintptr_t>(menu) - 1]; }

static std::string Shown(const FakeMenu& menu) {
    std::string text;
    for (const std::string& item : menu.items) text += (text.empty() ? "" : "|") + item;
    return text;
}

static MenuHandle Create() {
    g_menus.emplace_back();
    ++g_fakeWindow.menusAlive;
    return reinterpret_cast<MenuHandle>(g_menus.size());
}

static void Append(MenuHandle menu, int id, const std::string& text) {
    Menu(menu).ids.push_back(id);
    Menu(menu).items.push_back(text);
}

MenuHandle MenuCreateBar() { return Create(); }
MenuHandle MenuCreatePopup() { return Create(); }
void MenuAppendItem(MenuHandle menu, int id, const char* text) { Append(menu, id, text); }
void MenuAppendSeparator(MenuHandle menu) { Append(menu, -1, "-"); }
void MenuAppendSubmenu(MenuHandle menu, MenuHandle submenu, const char* text) {
    Append(menu, -1, text + ("[" + Shown(Menu(submenu)) + "]"));
    Menu(menu).menus += Menu(submenu).menus;
}
void MenuSetCheck(MenuHandle menu, int id, bool checked) {
    FakeMenu& kept = Menu(menu);
    for (std::size_t i = 0; i < kept.ids.size(); ++i) {
        if (kept.ids[i] != id) continue;
        if (kept.items[i][0] == '*') kept.items[i].erase(0, 1);
        if (checked) kept.items[i].insert(0, "*");
    }
}
void MenuAttach(WindowHandle, MenuHandle bar) {
    g_fakeWindow.menuBar = Shown(Menu(bar));
    g_attachedMenus = Menu(bar).menus;
}
void MenuDestroyAttached(WindowHandle) {
    g_fakeWindow.menusAlive -= g_attachedMenus;
    g_attachedMenus = 0;
}
void MenuDestroy(MenuHandle menu) { g_fakeWindow.menusAlive -= Menu(menu).menus; }
void MenuTrackAtClientPoint(MenuHandle menu, WindowHandle, int x, int y) {
    g_fakeWindow.popupMenu = Shown(Menu(menu)) + " at " + std::to_string(x) + "," + std::to_string(y);
}
