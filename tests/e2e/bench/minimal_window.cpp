// The baseline of the benchmarks (tests/e2e/bench/bench.py): the least a Win32 window program does,
// started and measured exactly like the product.
//
//   minimal-window.exe [COMn]
//
// It shows a window of the main window's size and paints a red disc where the first lamp is.
// Given a port, WM_COMMAND 13 (READ's id) runs the waits of a read and nothing else: a 500 ms timer
// for two ticks, one read of one byte that ends after 60 ms on a silent line, then a message box.
//
// Built a second time with SAME_DLLS as minimal-window-same-dlls.exe: the same window, linked against the
// same system DLLs as the product so that the loader maps what it maps for the product. It registers the
// common-control classes the product registers at start; the other DLLs are only called on WM_COMMAND 99,
// which nobody sends.
#include <windows.h>
#ifdef SAME_DLLS
#include <commctrl.h>
#include <setupapi.h>
#include <shellapi.h>
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
        if (LOWORD(wParam) == 99) {  // never sent: these calls only make the imports
            HDEVINFO devices = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
            SetupDiDestroyDeviceInfoList(devices);
            HKEY key;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE", 0, KEY_READ, &key) == ERROR_SUCCESS) {
                RegCloseKey(key);
            }
            ShellExecuteA(window, "open", "minimal-window.txt", nullptr, nullptr, SW_SHOWNORMAL);
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
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
