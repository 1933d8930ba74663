#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <csignal>

#include "app/text/texts.h"
#include "base/dll_search_glue.h"
#include "base/utf16_glue.h"
#include "cli/console_glue.h"
#include "cli/system_glue.h"
#include "serial/port_order.h"
#include "serial/port_table.h"
#include "serial/usb_locator.h"

// The C library's argv went through the ANSI code page: the command line is read again as UTF-16.
std::vector<std::string> ProgramArguments(int, char**, int* unreadable) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    *unreadable = 0;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        std::string argument;
        if (!NameUtf8(wide[i], -1, &argument)) {
            if (*unreadable == 0) *unreadable = i;
            argument = Utf8Of(wide[i], -1);  // only to be shown
        }
        arguments.push_back(argument);
    }
    LocalFree(wide);
    return arguments;
}

std::string SystemRoot() { return std::string(); }  // the ports are those of the port table

std::vector<SystemPort> ListSystemPorts() {
    std::vector<std::u16string> wide;
    std::uint32_t valueCount = 0;
    std::vector<std::string> names;
    if (ReadPortTable(&wide, &valueCount)) {
        for (const std::u16string& name : wide) names.push_back(NarrowPortName(name));
    }
    std::string usbPort;
    std::string instance;
    const bool usbFound = FindUsbReaderPort(&usbPort, &instance);
    std::vector<SystemPort> ports;
    for (const std::string& name : OrderPortNames(names)) {
        const bool usb = usbFound && name == usbPort;
        ports.push_back({name, usb, usb ? instance : std::string()});
    }
    return ports;
}

const bool kPortNamesIgnoreCase = true;

// A port the table lists may still refuse to open for a moment: the open's failure settles that.
bool PortNodePresent(const std::string&) { return true; }

std::vector<std::string> PathsMatching(const std::string&) { return {}; }

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool UserPrefersRussian() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN; }

static bool g_errorIsTerminal = false;

bool ErrorOutputIsTerminal() { return g_errorIsTerminal; }

std::string PortIdentity(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return upper;
}

// In UTF-8 for the console, without the closing full stop and line end.
std::string SystemErrorText(std::int32_t code) {
    const DWORD error = static_cast<DWORD>(code);
    wchar_t text[256];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  256, nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L'.')) {
        --length;
    }
    return length == 0 ? "unknown error" : Utf8Of(text, static_cast<int>(length));
}

// A COM port another program holds is denied, not shared: on Windows that is the busy port.
Outcome OpenFailureOf(std::int32_t error) {
    switch (static_cast<DWORD>(error)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Outcome::kNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return Outcome::kBusy;
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            return Outcome::kNotASerialPort;
        default:
            return Outcome::kOpenFailed;
    }
}

PortAccess LookAtPortAccess(const std::string&) { return PortAccess(); }

namespace {

std::atomic<int> g_interruptSignal{0};
std::atomic<int> g_writesInHand{0};
std::atomic<bool> g_usbWriteInHand{false};  // which reader the reason shown names

// After a close, log-off or shut-down the system ends the process as soon as the handler returns (at the
// latest 5 s after the event): held here, the exchange in hand is read back and the summary goes out. The
// program's own exit ends this thread first.
void EndWorkAndHold(int signal) {
    g_interruptSignal.store(signal);
    Sleep(4500);
}

// Runs on a thread of its own: the work sees the flag between exchanges.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        EndWorkAndHold(SIGTERM);
    } else {
        g_interruptSignal.store(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    }
    return TRUE;
}

// A program that has loaded user32 (SetupAPI does) gets no log-off or shut-down console event: Windows asks
// its top-level windows instead. The reason is in Windows' own language, as the screen that shows it.
LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        if (g_writesInHand.load() > 0) {
            const TextSlots& texts = UserPrefersRussian() ? kRussianTexts : kEnglishTexts;
            const char* reason = g_usbWriteInHand.load() ? texts.ProgressWriteUsb : texts.ProgressWriteSerial;
            ShutdownBlockReasonCreate(window, Utf16Of(reason).c_str());
        }
        return TRUE;
    }
    if (message == WM_ENDSESSION) {
        if (wParam != FALSE) EndWorkAndHold(SIGTERM);
        ShutdownBlockReasonDestroy(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Top-level and hidden: a message-only window is not asked about the end of the session.
DWORD WINAPI RunSessionWindow(void*) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"mz6 session";
    if (RegisterClassW(&windowClass) == 0) return 0;
    if (CreateWindowExW(0, windowClass.lpszClassName, L"mz6", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                        windowClass.hInstance, nullptr) == nullptr) {
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace

// Ports are handles of the process: Windows closes them whichever way it ends. Ctrl+C and the end of the
// session are taken from the start, by every command: the default handling would end the process before
// the console relay has written what it holds.
void PrepareConsole() {
    LimitDllSearch();
    g_errorIsTerminal = RouteConsoleOutput();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    const HANDLE thread = CreateThread(nullptr, 0, RunSessionWindow, nullptr, 0, nullptr);
    if (thread != nullptr) CloseHandle(thread);
}

void FinishWorkWhenInterrupted() {}  // in place since PrepareConsole

int InterruptSignal() { return g_interruptSignal.load(); }

void MarkWriteInHand(bool inHand, bool usbReader) {
    if (inHand) g_usbWriteInHand.store(usbReader);
    g_writesInHand.fetch_add(inHand ? 1 : -1);
}
