// The baseline of the benchmarks (bench/bench.py): the least a Win32 window program does,
// started and measured exactly like the product.
//
//   minimal-window.exe [COMn]
//
// It shows a window of the main window's size and paints a red disc where the first lamp is.
// Given a port, WM_COMMAND 13 (READ's id) runs the waits of a read and nothing else: a 500 ms timer
// for two ticks, one read of one byte that ends after 60 ms on a silent line, then a message box.
//
// Built twice more for the start-to-paint figure:
// - SAME_DLLS (minimal-window-same-dlls.exe): linked against the system DLLs the product loads at start,
//   so that the loader maps what it maps for the product, and registering the common-control classes
//   the product registers;
// - SAME_DLLS and SAME_CONTROLS (minimal-window-same-controls.exe): also gives the window, before it is
//   shown, as many child windows of each class as the product's window has and a menu bar of three
//   menus, which tells how much of the product's start is the cost of its window's content.
#include <windows.h>
#ifdef SAME_DLLS
#include <commctrl.h>
#endif

namespace {

constexpr UINT_PTR kTimer = 2;
HANDLE g_port = INVALID_HANDLE_VALUE;
int g_ticks = 0;

void OpenSilentPort(const char* name) {
    char path[32] = "\\\\.\\";
    lstrcatA(path, name);
    g_port = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    COMMTIMEOUTS timeouts{50, 10, 50, 10, 50};  // the product's: one byte waits 60 ms
    SetCommTimeouts(g_port, &timeouts);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            HGDIOBJ old = SelectObject(dc, red);
            Ellipse(dc, 345, 140, 365, 160);
            SelectObject(dc, old);
            DeleteObject(red);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == 13 && g_port != INVALID_HANDLE_VALUE) SetTimer(window, kTimer, 500, nullptr);
#ifdef SAME_DLLS
            if (LOWORD(wParam) == 99) {  // never sent: the call only makes the import of ADVAPI32
                HKEY key;
                if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE", 0, KEY_READ, &key) == ERROR_SUCCESS) {
                    RegCloseKey(key);
                }
            }
#endif
            return 0;
        case WM_TIMER:
            if (wParam == kTimer && ++g_ticks == 2) {
                g_ticks = 0;
                KillTimer(window, kTimer);
                char byte;
                DWORD count;
                ReadFile(g_port, &byte, 1, &count, nullptr);
                MessageBoxA(window, "Done", "Message", MB_OK);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

#ifdef SAME_CONTROLS
HWND Child(HWND parent, const char* windowClass, DWORD style, int y) {
    return CreateWindowExA(0, windowClass, "Text", WS_CHILD | style, 10, y, 150, 20, parent, nullptr, nullptr, nullptr);
}

// The product's window has a drop-down list, a tab control with two tabs, two labels, eight buttons
// always shown and two pages of 14 buttons created hidden, one of which is then shown.
void AddContent(HWND window) {
    HMENU bar = CreateMenu();
    for (int i = 0; i < 3; ++i) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 100, "Item");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "Menu");
    }
    SetMenu(window, bar);
    Child(window, "Combobox", WS_VISIBLE | CBS_DROPDOWNLIST, 10);
    for (int i = 0; i < 2; ++i) Child(window, "Static", WS_VISIBLE, 40);
    HWND tab = Child(window, WC_TABCONTROLA, WS_VISIBLE | WS_CLIPSIBLINGS, 60);
    TCITEMA item{TCIF_TEXT, 0, 0, const_cast<char*>("Tab"), 0, -1, 0};
    for (int i = 0; i < 2; ++i) SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    HWND page[14];
    for (HWND& button : page) button = Child(window, "Button", BS_AUTORADIOBUTTON, 100);
    for (int i = 0; i < 14; ++i) Child(window, "Button", BS_AUTORADIOBUTTON, 100);
    for (HWND button : page) ShowWindow(button, SW_SHOW);
    for (int i = 0; i < 8; ++i) Child(window, "Button", WS_VISIBLE, 500);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
#ifdef SAME_DLLS
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
#endif
    if (commandLine[0] != '\0') OpenSilentPort(commandLine);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MinimalWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("MinimalWindow", "Minimal window", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, 395, 670, nullptr, nullptr, instance, nullptr);
#ifdef SAME_CONTROLS
    AddContent(window);
#endif
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
