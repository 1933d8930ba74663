// GUI driver of the end-to-end tests. It runs under Wine in the same prefix as the program under
// test, reads one command per line on stdin and answers each with one JSON line on stdout.
//
//   ping                          {"ok":true}
//   windows CLASS TITLE           top-level windows with that class and title ("-" = any)
//   info HWND                     class, title, rectangles, styles, state of one window
//   children HWND                 every descendant window with its control state
//   foreground                    the foreground window
//   decoy                         puts a window of the driver's own in the foreground
//   show HWND CMD                 ShowWindow(HWND, CMD)
//   mouse_click X Y               a left click at screen point (X, Y)
//   post HWND MSG WPARAM LPARAM   PostMessage (a modal box opened by it cannot block the driver)
//   send HWND MSG WPARAM LPARAM   SendMessageTimeout, for messages that carry numbers only
//   boxes OWNER                   visible message boxes owned by OWNER: caption, text, buttons, icon kind
//   pixel HWND X Y                colour at client point (X, Y) of any window as 0x00BBGGRR
//   menu HWND                     the window's menu bar, its captions' widths and its controls' font
//                                 character sets, read inside the program by the hook library
//   combo HWND                    the entries and the selection of a combo box
//   tabs HWND                     the items of a tab control: texts, rectangles, the selection
//   impostor MUTEX TITLE          holds that named mutex and shows a window of the driver's class with that
//                                 title ("-": neither), in place of the ones an earlier impostor made
//   quit
//
// Class, title and texts travel as hex of their Windows-1251 bytes; numbers may be decimal or 0x hex.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "menu_hook.h"
#include "text_codec.h"

namespace {

using Args = std::vector<std::string>;

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Handle(HWND window) { return std::to_string(reinterpret_cast<UINT_PTR>(window)); }

HWND ToHandle(const std::string& text) { return reinterpret_cast<HWND>(std::strtoull(text.c_str(), nullptr, 0)); }

long long ToNumber(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 0); }

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string Rect(const RECT& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "]";
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// The text the system holds for the window (also for windows of other processes).
std::string TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    return To1251(text.data(), copied);
}

std::string Error(const std::string& what) { return "{\"error\":\"" + what + "\"}"; }

std::string WindowJson(HWND window) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(window, &pid);
    int id = (style & WS_CHILD) ? GetDlgCtrlID(window) : 0;  // a top-level window's "id" is its menu
    return "{\"hwnd\":" + Handle(window) + ",\"class\":\"" + HexOf(ClassOf(window)) + "\",\"text\":\"" +
           HexOf(TextOf(window)) + "\",\"id\":" + std::to_string(id) + ",\"rect\":" + Rect(outer) +
           ",\"client\":" + Rect(client) + ",\"style\":" + std::to_string(static_cast<DWORD>(style)) +
           ",\"exstyle\":" + std::to_string(static_cast<DWORD>(exStyle)) +
           ",\"visible\":" + Bool(IsWindowVisible(window)) + ",\"enabled\":" + Bool(IsWindowEnabled(window)) +
           ",\"iconic\":" + Bool(IsIconic(window)) + ",\"topmost\":" + Bool(exStyle & WS_EX_TOPMOST) +
           ",\"owner\":" + Handle(GetWindow(window, GW_OWNER)) +
           ",\"parent\":" + Handle(GetAncestor(window, GA_PARENT)) + ",\"pid\":" + std::to_string(pid) +
           ",\"tid\":" + std::to_string(tid) + "}";
}

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

std::string ChildJson(HWND child) {
    std::string json = WindowJson(child);
    if (ClassOf(child) == "Button") {
        json.pop_back();
        json += ",\"check\":" + std::to_string(SendWithin(child, BM_GETCHECK, 0, 0)) + "}";
    }
    return json;
}

std::string JsonList(const std::vector<HWND>& windows, std::string (*item)(HWND)) {
    std::string json = "[";
    for (size_t i = 0; i < windows.size(); ++i) json += (i ? "," : "") + item(windows[i]);
    return json + "]";
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> TopLevel() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// ---- message box icons -------------------------------------------------------------------------
// An icon handle cannot be compared across processes, so the box's icon is told apart by its
// pixels: each candidate is drawn here the way a static control draws it and compared with the
// pixels the box shows.

constexpr int kIconSize = 32;
using Pixels = std::vector<DWORD>;

struct Candidate {
    std::string kind;
    HICON icon;
};
std::vector<Candidate> g_candidates;

void LoadCandidates(const char* programPath) {
    HMODULE program = LoadLibraryExA(programPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int id = 1; id <= 7 && program != nullptr; ++id) {
        HANDLE icon = LoadImageW(program, MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, 0);
        if (icon != nullptr) g_candidates.push_back({std::to_string(id), static_cast<HICON>(icon)});
    }
    const struct {
        const char* kind;
        LPCSTR id;
    } system[] = {{"system-error", IDI_ERROR},
                  {"system-warning", IDI_WARNING},
                  {"system-information", IDI_INFORMATION},
                  {"system-question", IDI_QUESTION}};
    for (const auto& icon : system) g_candidates.push_back({icon.kind, LoadIconA(nullptr, icon.id)});
}

// A 32-bit top-down DIB section selected into a memory DC, size kIconSize square.
struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    DWORD* bits = nullptr;
    HBITMAP bitmap;
    HGDIOBJ old;
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kIconSize, -kIconSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Pixels Copy() const {
        GdiFlush();
        return Pixels(bits, bits + kIconSize * kIconSize);
    }
};

// Copies pixels at client point (x, y) of a window. Under Wine a child window's DC taken from
// another process is misplaced, while the top-level window's is right: read through that one.
void CopyFromWindow(const Canvas& canvas, HWND window, int x, int y, int width, int height) {
    HWND root = GetAncestor(window, GA_ROOT);
    POINT at{x, y};
    MapWindowPoints(window, root, &at, 1);
    HDC source = GetDC(root);
    BitBlt(canvas.dc, 0, 0, width, height, source, at.x, at.y, SRCCOPY);
    ReleaseDC(root, source);
}

Pixels Render(HICON icon, COLORREF background) {
    Canvas canvas;
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, kIconSize, kIconSize};
    FillRect(canvas.dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.dc, 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    return canvas.Copy();
}

// Mean absolute difference per colour channel, 0 (same) to 255.
double Distance(const Pixels& a, const Pixels& b) {
    long long sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a[i] >> shift) & 255) - static_cast<int>((b[i] >> shift) & 255));
    return static_cast<double>(sum) / static_cast<double>(a.size() * 3);
}

std::string IconJson(HWND iconStatic) {
    if (iconStatic == nullptr || !IsWindowVisible(iconStatic)) return "{\"kind\":\"none\"}";
    Canvas shown;
    CopyFromWindow(shown, iconStatic, 0, 0, kIconSize, kIconSize);
    Pixels seen = shown.Copy();
    // The background behind a transparent icon pixel is the control's; try each corner's colour.
    std::vector<COLORREF> backgrounds;
    for (int index : {0, kIconSize - 1, kIconSize * (kIconSize - 1), kIconSize * kIconSize - 1}) {
        DWORD pixel = seen[static_cast<size_t>(index)];  // 0x00RRGGBB in a DIB
        backgrounds.push_back(RGB((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255));
    }
    std::string best = "unknown", distances;
    double bestDistance = 1e9;
    for (const Candidate& candidate : g_candidates) {
        double distance = 1e9;
        for (COLORREF background : backgrounds)
            distance = std::min(distance, Distance(seen, Render(candidate.icon, background)));
        char entry[64];
        std::snprintf(entry, sizeof(entry), "%s\"%s\":%.2f", distances.empty() ? "" : ",", candidate.kind.c_str(),
                      distance);
        distances += entry;
        if (distance < bestDistance) bestDistance = distance, best = candidate.kind;
    }
    // Drawing the same icon on the same background gives (nearly) the same pixels.
    if (bestDistance > 6.0) best = "unknown";
    return "{\"kind\":\"" + best + "\",\"distances\":{" + distances + "}}";
}

std::string BoxJson(HWND box) {
    std::string text, buttons;
    HWND iconStatic = nullptr;
    for (HWND child : Children(box)) {
        std::string cls = ClassOf(child);
        if (cls == "Button") {
            buttons += (buttons.empty() ? "" : ",") + std::string("{\"hwnd\":") + Handle(child) +
                       ",\"id\":" + std::to_string(GetDlgCtrlID(child)) + ",\"text\":\"" + HexOf(TextOf(child)) + "\"}";
        } else if (cls == "Static") {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                iconStatic = child;
            else if (IsWindowVisible(child) && text.empty())
                text = TextOf(child);
        }
    }
    return "{\"hwnd\":" + Handle(box) + ",\"caption\":\"" + HexOf(TextOf(box)) + "\",\"text\":\"" + HexOf(text) +
           "\",\"buttons\":[" + buttons + "],\"icon\":" + IconJson(iconStatic) + "}";
}

// ---- menus through the hook library ------------------------------------------------------------

HWND g_replyWindow;
ULONG_PTR g_menuQuestion;  // the number of the question asked last; an answer to another is left alone
std::string g_menuReply;

LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* copy = reinterpret_cast<COPYDATASTRUCT*>(lParam);
        if (copy->dwData == g_menuQuestion && copy->cbData > 0)
            g_menuReply.assign(static_cast<const char*>(copy->lpData), copy->cbData - 1);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string MenuOf(HWND window) {
    static HMODULE hookLibrary = [] {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::strcpy(std::strrchr(path, '\\') + 1, "e2e-menu-hook.dll");
        return LoadLibraryA(path);
    }();
    auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, kMenuHookProcName)));
    if (hookProc == nullptr) return Error("hook library missing");
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, hookProc, hookLibrary, GetWindowThreadProcessId(window, nullptr));
    if (hook == nullptr) return Error("SetWindowsHookEx failed " + std::to_string(GetLastError()));
    g_menuReply.clear();
    ++g_menuQuestion;
    // Loading the hook library into the program can take seconds on a busy machine; the harness gives a call 15 s.
    // The question is asked again each second: on a busy machine Wine now and then lets the program take the
    // first one off its queue before the new hook sees it, and then no answer would ever come.
    const UINT question = RegisterWindowMessageW(kMenuDumpMessage);
    for (DWORD start = GetTickCount(), asked = start - 1000; g_menuReply.empty() && GetTickCount() - start < 10000;) {
        if (GetTickCount() - asked >= 1000) {
            PostMessageW(window, question, reinterpret_cast<WPARAM>(g_replyWindow),
                         static_cast<LPARAM>(g_menuQuestion));
            asked = GetTickCount();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    UnhookWindowsHookEx(hook);
    return g_menuReply.empty() ? Error("no answer from the hook") : g_menuReply;
}

std::string ComboJson(HWND combo) {
    auto count = SendWithin(combo, CB_GETCOUNT, 0, 0);
    std::string items;
    for (LRESULT i = 0; i < count; ++i) {
        // The wide message: Wine hands the ANSI one UTF-16 bytes across processes.
        std::wstring text(static_cast<size_t>(SendWithin(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items += (i ? ",\"" : "\"") + HexOf(To1251(text.c_str(), -1)) + "\"";
    }
    return "{\"items\":[" + items + "],\"selected\":" + std::to_string(SendWithin(combo, CB_GETCURSEL, 0, 0)) + "}";
}

// The tab messages carry pointers that the control fills in its own process: the structures are
// placed in that process's memory and read back from there.
std::string TabsJson(HWND tabs) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) return Error("OpenProcess failed " + std::to_string(GetLastError()));
    struct Item {
        TCITEMW item;
        RECT rect;
        wchar_t text[256];
    };
    auto* remote = static_cast<Item*>(VirtualAllocEx(process, nullptr, sizeof(Item), MEM_COMMIT, PAGE_READWRITE));
    std::string items;
    for (LRESULT i = 0, count = SendWithin(tabs, TCM_GETITEMCOUNT, 0, 0); remote != nullptr && i < count; ++i) {
        Item local{};
        local.item.mask = TCIF_TEXT;
        local.item.pszText = remote->text;
        local.item.cchTextMax = 256;
        WriteProcessMemory(process, remote, &local, sizeof(local), nullptr);
        SendWithin(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&remote->item));
        SendWithin(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&remote->rect));
        ReadProcessMemory(process, remote, &local, sizeof(local), nullptr);
        local.text[255] = L'\0';
        items += (i ? "," : "") + std::string("{\"text\":\"") + HexOf(To1251(local.text, -1)) +
                 "\",\"rect\":" + Rect(local.rect) + "}";
    }
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (remote == nullptr) return Error("VirtualAllocEx failed");
    return "{\"items\":[" + items + "],\"selected\":" + std::to_string(SendWithin(tabs, TCM_GETCURSEL, 0, 0)) + "}";
}

// A window of the driver's own that can take the foreground from the program, so that a test can
// see the program come back to the front. Its own thread keeps its messages flowing.
HWND Decoy() {
    static HWND decoy = [] {
        static HWND created = nullptr;
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        auto run = [](LPVOID event) -> DWORD {
            created = CreateWindowExW(0, L"Static", L"e2e decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetEvent(event);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
            return 0;
        };
        CloseHandle(CreateThread(nullptr, 0, run, ready, 0, nullptr));
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
        return created;
    }();
    return decoy;
}

// What another program of the user can do to the program's single-instance rule.
std::string Impostor(const std::string& mutex, const std::string& title) {
    static HANDLE held = nullptr;
    static HWND shown = nullptr;
    if (held != nullptr) ReleaseMutex(held), CloseHandle(held), held = nullptr;
    if (shown != nullptr) DestroyWindow(shown), shown = nullptr;
    if (mutex != "-") held = CreateMutexA(nullptr, TRUE, FromHex(mutex).c_str());
    if (title != "-") {
        const std::wstring text = From1251(FromHex(title));
        shown = CreateWindowExW(0, L"MivorZentakE2E.Reply", text.c_str(), WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    return "{\"ok\":" + Bool((mutex == "-" || held != nullptr) && (title == "-" || shown != nullptr)) + "}";
}

std::string Execute(const Args& args) {
    const std::string& name = args[0];
    auto need = [&](size_t count) { return args.size() >= count + 1; };
    if (name == "ping") return "{\"ok\":true}";
    if (name == "foreground") return "{\"hwnd\":" + Handle(GetForegroundWindow()) + "}";
    if (name == "decoy") {
        SetForegroundWindow(Decoy());
        // The switch may land a little later, when the decoy's thread has taken the activation.
        for (int tries = 0; tries < 50 && GetForegroundWindow() != Decoy(); ++tries) Sleep(20);
        return "{\"hwnd\":" + Handle(Decoy()) + ",\"foreground\":" + Handle(GetForegroundWindow()) + "}";
    }
    if (name == "windows" && need(2)) {
        std::vector<HWND> found;
        for (HWND window : TopLevel())
            if ((args[1] == "-" || ClassOf(window) == FromHex(args[1])) &&
                (args[2] == "-" || TextOf(window) == FromHex(args[2])))
                found.push_back(window);
        return "{\"windows\":" + JsonList(found, WindowJson) + "}";
    }
    if (name == "impostor" && need(2)) return Impostor(args[1], args[2]);
    if (name == "mouse_click" && need(2)) {
        // A real click at a screen point, through the system's input queue, as a user's mouse would. Each event
        // carries the point itself (0 to 65535 across the screen): a busy machine may deliver the pointer's move
        // of SetCursorPos after the click.
        const LONG x = static_cast<LONG>(ToNumber(args[1])), y = static_cast<LONG>(ToNumber(args[2]));
        SetCursorPos(x, y);
        const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        INPUT clicks[2]{};
        for (INPUT& click : clicks) {
            click.type = INPUT_MOUSE;
            click.mi.dx = (x * 65536 + width - 1) / width;
            click.mi.dy = (y * 65536 + height - 1) / height;
        }
        clicks[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
        return "{\"ok\":" + Bool(SendInput(2, clicks, sizeof(INPUT)) == 2) + "}";
    }
    if (!need(1)) return Error("missing arguments");
    HWND window = ToHandle(args[1]);
    if (!IsWindow(window)) return Error("no such window");
    if (name == "info") return WindowJson(window);
    if (name == "children") return "{\"children\":" + JsonList(Children(window), ChildJson) + "}";
    if (name == "menu") return MenuOf(window);
    if (name == "combo") return ComboJson(window);
    if (name == "tabs") return TabsJson(window);
    if (name == "boxes") {
        std::vector<HWND> boxes;
        for (HWND top : TopLevel())
            if (ClassOf(top) == "#32770" && GetWindow(top, GW_OWNER) == window && IsWindowVisible(top))
                boxes.push_back(top);
        return "{\"boxes\":" + JsonList(boxes, BoxJson) + "}";
    }
    if (name == "show" && need(2))
        return "{\"was_visible\":" + Bool(ShowWindow(window, static_cast<int>(ToNumber(args[2])))) + "}";
    if (name == "pixel" && need(3)) {
        Canvas one;
        CopyFromWindow(one, window, static_cast<int>(ToNumber(args[2])), static_cast<int>(ToNumber(args[3])), 1, 1);
        DWORD pixel = one.Copy()[0];
        return "{\"colour\":" + std::to_string(RGB((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255)) + "}";
    }
    if ((name == "post" || name == "send") && need(4)) {
        auto message = static_cast<UINT>(ToNumber(args[2]));
        auto wParam = static_cast<WPARAM>(ToNumber(args[3]));
        auto lParam = static_cast<LPARAM>(ToNumber(args[4]));
        if (name == "post") return "{\"ok\":" + Bool(PostMessageW(window, message, wParam, lParam)) + "}";
        return "{\"result\":" + std::to_string(SendWithin(window, message, wParam, lParam)) + "}";
    }
    return Error("unknown command or missing arguments");
}

}  // namespace

int main(int argc, char** argv) {
    GetDesktopWindow();  // joins (or makes) the desktop before the first program starts, and keeps it
    if (argc > 1) LoadCandidates(argv[1]);
    WNDCLASSW replyClass{};
    replyClass.lpfnWndProc = ReplyProc;
    replyClass.hInstance = GetModuleHandleW(nullptr);
    replyClass.lpszClassName = L"MivorZentakE2E.Reply";
    RegisterClassW(&replyClass);
    g_replyWindow = CreateWindowExW(0, replyClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    replyClass.hInstance, nullptr);

    char line[4096];
    while (std::fgets(line, sizeof(line), stdin) != nullptr) {
        std::istringstream words(line);
        Args args;
        for (std::string word; words >> word;) args.push_back(word);
        if (args.empty()) continue;
        if (args[0] == "quit") break;
        std::string answer = Execute(args) + "\n";
        std::fwrite(answer.data(), 1, answer.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
