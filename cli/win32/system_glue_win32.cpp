#include <windows.h>

#include <atomic>
#include <csignal>

#include "app/dll_search_glue.h"
#include "cli/console_glue.h"
#include "cli/system_glue.h"
#include "serial/port_order.h"
#include "serial/port_table.h"
#include "serial/usb_locator.h"

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

std::vector<std::string> PathsMatching(const std::string&) { return {}; }

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool UserPrefersRussian() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN; }

static bool g_errorIsTerminal = false;

// Ports are handles of the process: Windows closes them whichever way it ends.
void PrepareConsole() {
    LimitDllSearch();
    g_errorIsTerminal = RouteConsoleOutput();
}

bool ErrorOutputIsTerminal() { return g_errorIsTerminal; }

namespace {

// mz6's file names come from argv and go to the C library in the ANSI code page.
std::wstring WidePath(const std::string& path) {
    const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], size);
    return wide;
}

}  // namespace

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
    if (length == 0) return "unknown error";
    char utf8[1024];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8, sizeof(utf8), nullptr, nullptr);
    return std::string(utf8, size > 0 ? size : 0);
}

const char* const kPathSeparators = "\\/";

// A link (a reparse point) is replaced as a file, as MoveFileExW does: only folders are told apart.
PathFacts LookAtPath(const std::string& path) {
    PathFacts facts;
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            facts.error = static_cast<std::int32_t>(error);
        return facts;
    }
    facts.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
    return facts;
}

bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error) {
    // GetTempFileNameW creates the file under a name no file has (CREATE_NEW), which is then opened, not made.
    wchar_t name[MAX_PATH];
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (GetTempFileNameW(WidePath(folder).c_str(), L"mz6", 0, name) != 0) {
        handle = CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
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

// The new file takes its rights from its folder, as the old one did.
bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error) {
    const HANDLE handle = reinterpret_cast<HANDLE>(file->handle);
    *step = PutStep::kWrite;
    DWORD written = 0;
    bool done = WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != 0 &&
                written == content.size() && FlushFileBuffers(handle) != 0;
    DWORD failure = GetLastError();
    CloseHandle(handle);
    file->handle = -1;
    const std::wstring source = WidePath(file->path);
    if (done) {
        // MOVEFILE_WRITE_THROUGH waits for the move itself to be on disk.
        *step = PutStep::kPlace;
        done = MoveFileExW(source.c_str(), WidePath(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        failure = GetLastError();
    }
    if (!done) DeleteFileW(source.c_str());
    *error = static_cast<std::int32_t>(failure);
    return done;
}

void DiscardNewFile(NewFile* file) {
    if (file->handle == -1) return;
    CloseHandle(reinterpret_cast<HANDLE>(file->handle));
    file->handle = -1;
    DeleteFileW(WidePath(file->path).c_str());
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

namespace {

std::atomic<int> g_interruptSignal{0};

// Runs on a thread of its own: the work sees the flag between exchanges.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    g_interruptSignal.store(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    // After a close, log-off or shut-down the system ends the process as soon as this returns (at the latest
    // 5 s after the event): held here, the exchange in hand is read back and the summary goes out. The
    // program's own exit ends this thread first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(4500);
    return TRUE;
}

}  // namespace

void FinishWorkWhenInterrupted() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

int InterruptSignal() { return g_interruptSignal.load(); }
