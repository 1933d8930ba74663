#include <windows.h>

#include "app/main_window.h"
#include "app/dll_search_glue.h"
#include "app/startup_glue.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

ScreenSize PrimaryScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The DPI calls came with Windows 10 (1607): looked up, so that older Windows still start the program.
template <typename Call>
static Call User32Call(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int SystemDpi() {
    static const auto forSystem = User32Call<UINT(WINAPI*)()>("GetDpiForSystem");
    return forSystem != nullptr ? static_cast<int>(forSystem()) : ScreenDpi();
}

int WindowDpi(WindowHandle window) {
    static const auto forWindow = User32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    return forWindow != nullptr ? static_cast<int>(forWindow(static_cast<HWND>(window))) : SystemDpi();
}

WindowHandle WindowFindTopLevel(const char* title) { return FindWindowA(nullptr, title); }

bool WindowIsMinimized(WindowHandle window) { return IsIconic(static_cast<HWND>(window)) != FALSE; }

void WindowRestore(WindowHandle window) { ShowWindow(static_cast<HWND>(window), SW_RESTORE); }

void WindowToForeground(WindowHandle window) { SetForegroundWindow(static_cast<HWND>(window)); }

void WindowEnable(WindowHandle window, bool enable) { EnableWindow(static_cast<HWND>(window), enable ? TRUE : FALSE); }

bool WindowRegisterMainClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(kProgramIconResource));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

WindowHandle WindowCreateMain(const char* title, int x, int y, int width, int height) {
    return CreateWindowExA(0, kMainWindowClass, title, WS_SYSMENU | WS_MINIMIZEBOX, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void WindowShowAndPaint(WindowHandle window) {
    ShowWindow(static_cast<HWND>(window), SW_SHOWNORMAL);
    UpdateWindow(static_cast<HWND>(window));
}

void WindowMakeTopmost(WindowHandle window) {
    SetWindowPos(static_cast<HWND>(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

void PostQuit() { PostQuitMessage(0); }

void WindowSendClose(WindowHandle window) { SendMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0); }

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitDllSearch();
    return RunProgram();
}
