#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <csignal>
#include <cstring>

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

namespace {

// What an open handle is: a reparse point is a link, whatever it leads to.
PathKind KindOfHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information) {
    switch (GetFileType(handle)) {
        case FILE_TYPE_CHAR:
            return PathKind::kDevice;
        case FILE_TYPE_PIPE:
            return PathKind::kFifo;
        default:
            break;
    }
    if (!GetFileInformationByHandle(handle, information)) return PathKind::kMissing;
    if ((information->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathKind::kLink;
    return (information->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
}

}  // namespace

// Shared as _wfopen shares a file, and in text mode as _wfopen's "a": the log's lines end as they did.
OpenedFile OpenForAppending(const std::string& name) {
    OpenedFile opened;
    std::wstring wide;
    const HANDLE handle =
        NameUtf16(name, &wide)
            ? CreateFileW(wide.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)
            : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        opened.error = static_cast<std::int32_t>(GetLastError());
        return opened;
    }
    BY_HANDLE_FILE_INFORMATION information;
    opened.kind = KindOfHandle(handle, &information);
    const int descriptor = opened.kind == PathKind::kLink
                               ? -1
                               : _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_WRONLY);
    opened.file = descriptor >= 0 ? _fdopen(descriptor, "a") : nullptr;
    if (opened.file == nullptr) {
        opened.error = opened.kind == PathKind::kLink ? 0 : static_cast<std::int32_t>(ERROR_OPEN_FAILED);
        if (descriptor >= 0) {
            _close(descriptor);
        } else {
            CloseHandle(handle);
        }
    }
    return opened;
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

const char* const kPathSeparators = "\\/";

// A link (a reparse point) is replaced as a file, as a rename does: only folders and devices are told apart.
// What the path is, and which file, is read from a handle of the item itself, never of a link's target.
PathFacts LookAtPath(const std::string& path) {
    PathFacts facts;
    std::wstring wide;
    const HANDLE handle =
        NameUtf16(path, &wide)
            ? CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr)
            : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            facts.error = static_cast<std::int32_t>(error);
        return facts;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    facts.kind = KindOfHandle(handle, &information);
    if (facts.kind == PathKind::kMissing) facts.error = static_cast<std::int32_t>(GetLastError());
    if (facts.kind == PathKind::kLink) facts.kind = PathKind::kFile;
    facts.volume = information.dwVolumeSerialNumber;
    facts.index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    CloseHandle(handle);
    return facts;
}

bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error) {
    // GetTempFileNameW creates the file under a name no file has (CREATE_NEW), which is then opened, not made.
    wchar_t name[MAX_PATH];
    std::wstring wide;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (NameUtf16(folder, &wide) && GetTempFileNameW(wide.c_str(), L"mz6", 0, name) != 0) {
        handle = CreateFileW(name, GENERIC_WRITE | DELETE, 0, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) DeleteFileW(name);
    }
    if (handle == INVALID_HANDLE_VALUE) {
        *error = static_cast<std::int32_t>(GetLastError());
        return false;
    }
    const wchar_t* base = wcsrchr(name, L'\\');
    file->handle = reinterpret_cast<std::intptr_t>(handle);
    file->path = folder + "\\";
    for (const wchar_t* c = base != nullptr ? base + 1 : name; *c != L'\0'; ++c) {
        file->path += static_cast<char>(*c);  // "mz6XXXX.tmp": ASCII
    }
    return true;
}

namespace {

// The file of this handle takes the name `path`, replacing what has it: the file moved is the one written,
// whatever has since been put at its own name.
bool RenameByHandle(HANDLE handle, const std::string& path) {
    std::wstring target;
    if (!NameUtf16(path, &target)) return false;
    const std::size_t nameBytes = (target.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.c_str(), nameBytes);
    return SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
}

void DeleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO gone{TRUE};
    SetFileInformationByHandle(handle, FileDispositionInfo, &gone, sizeof gone);
}

}  // namespace

// The new file takes its rights from its folder, as the old one did. Its bytes are on disk before its rename;
// once renamed it has replaced the old file, so a flush that fails after that is no reason to remove it.
bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error) {
    const HANDLE handle = reinterpret_cast<HANDLE>(file->handle);
    *step = PutStep::kWrite;
    DWORD written = 0;
    bool done = WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != 0 &&
                written == content.size() && FlushFileBuffers(handle) != 0;
    DWORD failure = GetLastError();
    if (done) {
        *step = PutStep::kPlace;
        done = RenameByHandle(handle, path);
        failure = GetLastError();
        if (done) FlushFileBuffers(handle);
    }
    if (!done) DeleteByHandle(handle);
    CloseHandle(handle);
    file->handle = -1;
    *error = static_cast<std::int32_t>(failure);
    return done;
}

void DiscardNewFile(NewFile* file) {
    if (file->handle == -1) return;
    DeleteByHandle(reinterpret_cast<HANDLE>(file->handle));
    CloseHandle(reinterpret_cast<HANDLE>(file->handle));
    file->handle = -1;
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
