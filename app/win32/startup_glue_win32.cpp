#include <windows.h>

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "app/wide_text_glue.h"
#include "base/dll_search_glue.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

ScreenSize PrimaryScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The DPI calls came with Windows 10 (1607): looked up, so that older Windows still start the program.
template <typename Call>
static Call User32Call(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
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

WindowHandle WindowFindTopLevel(const char* className, const char* title) {
    return FindWindowW(WideText(className).c_str(), WideText(title).c_str());
}

// The mutex is owned by the first copy's thread for its whole run, and never closed: the system lets it
// go when that copy ends (abandoned), so a later start can tell a running copy from one that has gone.
static HANDLE g_instanceMutex = nullptr;

InstanceClaim ClaimSingleInstance(const char* name) {
    g_instanceMutex = CreateMutexW(nullptr, TRUE, WideText(name).c_str());
    if (g_instanceMutex == nullptr) return InstanceClaim::kUnavailable;  // an elevated copy's: access denied
    return GetLastError() == ERROR_ALREADY_EXISTS ? InstanceClaim::kTaken : InstanceClaim::kFirst;
}

bool SingleInstanceFreed() {
    if (g_instanceMutex == nullptr) return false;
    const DWORD waited = WaitForSingleObject(g_instanceMutex, 0);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

bool WindowIsMinimized(WindowHandle window) { return IsIconic(static_cast<HWND>(window)) != FALSE; }

void WindowRestore(WindowHandle window) { ShowWindow(static_cast<HWND>(window), SW_RESTORE); }

void WindowToForeground(WindowHandle window) { SetForegroundWindow(static_cast<HWND>(window)); }

void WindowEnable(WindowHandle window, bool enable) { EnableWindow(static_cast<HWND>(window), enable ? TRUE : FALSE); }

bool WindowRegisterMainClass() {
    const std::wstring className = WideText(kMainWindowClass);
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(kProgramIconResource));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));  // an integer resource
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0;
}

WindowHandle WindowCreateMain(const char* title, int x, int y, int width, int height) {
    return CreateWindowExW(0, WideText(kMainWindowClass).c_str(), WideText(title).c_str(), WS_SYSMENU | WS_MINIMIZEBOX,
                           x, y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
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
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

void PostQuit() { PostQuitMessage(0); }

void WindowSendClose(WindowHandle window) { SendMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0); }

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitDllSearch();
    return RunProgram();
}
