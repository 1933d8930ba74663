#pragma once

// In-memory stand-ins for the Win32 glue: the host build links these instead of
// the *_win32.cpp files. Tests arrange the platform through g_fake and read
// back what the program did to it.

#include <map>
#include <string>
#include <vector>

#include "app/handles.h"
#include "ui/window_ops_glue.h"

struct FakeMessageBox {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned style;
    unsigned kind;  // icon resource; 0 for a box with the system's error icon
};

struct FakeMenuItem {
    int id = 0;
    std::string text;
    bool separator = false;
    bool checked = false;
    int submenu = -1;  // index into FakePlatform::menus
};

struct FakeMenu {
    std::vector<FakeMenuItem> items;
    bool popup = false;
    bool destroyed = false;
};

struct FakeControl {
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = false;
    std::vector<std::string> items;  // entries of a combo box or tabs of a tab control
    int selection = -1;
    // Set when the program created the control.
    std::string windowClass;
    unsigned style = 0;
    int x = 0, y = 0, width = 0, height = 0;
};

struct FakeProgressWindow {
    std::string title;
    WindowHandle owner;
    int x, y, width, height;
    int rangeHigh = -1;
    int step = -1;
    int position = -1;
    bool destroyed = false;
};

struct FakePlatform {
    // What the tests arrange.
    int screenWidth = 1920;
    int screenHeight = 1080;
    bool otherWindowExists = false;  // a top-level window titled like ours
    std::string otherWindowTitle;
    bool otherWindowMinimized = false;
    bool classRegistrationFails = false;
    bool windowCreationFails = false;

    // What the program did.
    std::vector<std::string> calls;  // shell calls in order
    std::vector<FakeMessageBox> boxes;
    std::vector<FakeMenu> menus;
    int attachedMenu = -1;
    std::string mainTitle;
    int mainX = 0, mainY = 0, mainWidth = 0, mainHeight = 0;
    bool mainEnabled = true;
    std::map<int, FakeControl> controls;  // children of the main window by id; id-less ones by -1, -2, ...
    std::vector<int> creationOrder;       // keys of `controls` in the order they were created
    bool commonControlsInitialised = false;
    std::vector<PixelRect> invalidated;
    std::map<int, int> timers;  // running timers of the main window: id -> period
    std::vector<int> sleeps;    // blocking waits, in milliseconds
    std::vector<FakeProgressWindow> progressWindows;
    std::vector<std::string> popupMenuItems;  // texts of the last right-click menu
    int popupMenusAlive = 0;
};

extern FakePlatform g_fake;

// The window handle the fake hands out for the main window.
WindowHandle FakeMainWindow();

// Clears the fake and all program-wide state the tests touch.
void ResetFakePlatform();

// The control behind a handle the program got from ControlCreate.
FakeControl& FakeControlOf(WindowHandle handle);

// The progress window that is not destroyed, or null.
const FakeProgressWindow* FakeLiveProgressWindow();

// The menu behind a handle the program got from the fake.
const FakeMenu& FakeMenuOf(MenuHandle handle);
// The attached menu bar's popup at a position, and its text on the bar.
const FakeMenu& FakeBarPopup(int position);
const std::string& FakeBarText(int position);
