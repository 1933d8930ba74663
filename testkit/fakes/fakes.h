#pragma once

// In-memory stand-ins for the platform: fakes/<stem>_glue_fake.cpp takes the
// place of win32/<stem>_glue_win32.cpp. Tests arrange the world in these structs and
// read back only what they assert.

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "app/text/texts.h"
#include "base/file_system_glue.h"
#include "protocol/connection.h"
#include "serial/current_port.h"
#include "serial/port_table_glue.h"
#include "serial/serial_port_glue.h"
#include "ui/window_state.h"

// A port's incoming line holds one entry per single-byte read: a byte (0-255),
// a quiet spell of one read time-out, or a failing read.
constexpr int kGap = -1;
constexpr int kReadFails = -2;

struct FakePort {
    std::string name;
    char failingCall = 0;                        // 't', 'g' or 's': that configure call fails
    std::deque<int> line;                        // once it runs out, every read times out
    std::int32_t readError = 0, writeError = 0;  // a write error above 0 fails every write
    int writeLimit = -1;                         // 0 or more: a write stops after this many bytes
    unsigned char driverBlock[kPortStateSize] = {};
    std::string calls;  // what the program did: 't' time-outs, 'g' get and 's' set line state, 'c' close
    PortTimeouts timeouts{};
    PortLineState state{};
    std::vector<std::uint32_t> readWaits;  // how long each read waited for its byte, ms
    std::string written;
    bool open = false;
};

struct FakeSerial {
    std::vector<FakePort> ports;   // a name not listed does not open
    int reads = 0, badCloses = 0;  // every read call; closes of a handle that is not open
    std::int32_t lastError = 0;
    void (*onFirstRead)() = nullptr;  // what else happens when the first byte is asked for
};

struct FakeUsbDevice {
    std::string hardwareIds;  // UTF-16 multi-string bytes; "" when the device has none
    bool hasKey = true;
    std::string portName;  // raw data of its PortName; "" when there is none
    std::uint32_t portNameType = kRegistryString;
    std::string instanceId;  // UTF-16 bytes of its instance identifier; "" when it has none
};

// The system's port table and its USB devices with their registry keys.
struct FakeRegistry {
    bool portTableOpens = true;
    std::vector<std::pair<std::uint32_t, std::string>> portTable;  // type and raw data of each value
    bool usbListed = true;
    std::vector<FakeUsbDevice> usbDevices;
    int openKeys = 0, openSets = 0;
};

struct FakeBox {
    std::string text, caption;
    unsigned style, kind;
};  // kind 0: the system's icon
struct FakeDrawObject {
    bool pen, system;
    int deletions = 0;
    bool deletedWhileSelected = false;
};

struct FakeControl {
    bool enabled = true, checked = false;
    std::string text;
};

// The main window: its enabling, controls, port list, timers, message boxes and paint.
struct FakeWindow {
    bool enabled = true;
    std::map<int, FakeControl> controls;    // by id, as the program set them
    std::map<const void*, int> controlIds;  // each control made: its id (the group boxes share 0)
    std::vector<std::string> portList;
    int portSelected = -1;  // the port list's selection (-1: none)
    int lampRepaints = 0;   // parts of the window asked to repaint without their background: the lamp area
    int lampsErased = 0, lampsPainted = 0;  // ellipses filled with the window's background, and with a colour
    int tabSelected = 0, controlMoves = 0;
    std::string menuBar;                   // the menu bar attached last, as the fake keeps menus
    int menusAlive = 0;                    // menus made and not destroyed
    std::set<const void*> hiddenControls;  // the handles of the controls made or since set hidden
    std::string made;  // the main window as start-up made it, "title left,top widthxheight", and what became of it
    int dpi = 96;      // the DPI of the main window once made (the system's is 96)
    int systemCharset = kCyrillicCharset;  // the system font's
    std::string popupMenu;                 // the items of the pop-up menu shown last, and where
    int aboutTemplate = 0;                 // the About dialog template shown last
    std::set<int> timers;                  // running until stopped; a test ticks them by hand
    int timerRestarts = 0;                 // starts of a timer already running: its wait begins anew
    int progressWindows = 0;               // created and not destroyed
    int progressPosition = 0, progressRange = 0, progressStep = 0;  // the last one's bar
    std::vector<FakeBox> boxes;
    std::vector<FakeDrawObject> drawObjects = {{true, true}, {false, true}};  // the context's own pen and brush
    int selectedPen = 0, selectedBrush = 1;
    int paintsOpen = 0, unpairedPaints = 0;  // a begin while one is open, or an end without one
    void* controlFont = nullptr;             // the font last given to the controls (null: the system's)
    int fontsAlive = 0, fontsDeletedInUse = 0;
    std::vector<int> lastFont;             // the font made last: from DPI, to DPI, character set
    std::intptr_t helpBesideProgram = 33;  // opening the help there gives this (33: it opens; the working folder: 2)
    std::vector<std::u16string> opened;    // the files the shell was asked to open
    void (*inNextBox)() = nullptr;         // what else happens while the next box is up
    void (*inEveryBox)() = nullptr;        // what the message loop of a box does (a test ticks the window's timers)
};

// Other copies of the program, as a start sees them: the claim, and the look-ups that find a window.
struct FakeInstance {
    InstanceClaim claim = InstanceClaim::kFirst;
    int windowAtLookup = -1;  // the look-up (from 0, each title counts) from which a copy's window is found
    int freedAtPoll = -1;     // the wait (from 1) at which the claim's holder has ended
    const char* windowClass = "my Window";  // the class of the window found
    int lookups = 0, polls = 0, restored = 0, forwarded = 0;
    void (*inPause)() = nullptr;  // what else happens while the program waits
    char startFails = 0;          // 'c': the window class does not register, 'w': the window is not made
};

// What is at a path, as the file-system, folder and rights fakes keep it. A folder holds the paths that are its
// own path, "\\" or "/" and a name; nothing is made along the way.
struct FakeItem {
    PathKind kind = PathKind::kFile;
    std::string bytes;                      // a file's
    std::string linkText;                   // a link's text
    PathKind leadsTo = PathKind::kMissing;  // a link's: what it ends at
    std::uint32_t names = 1;
    std::string security;     // its owner and access list as a security string
    std::string fails;        // the calls on it that fail: 'l' look, 'o' open, 'w' write, 'c' close, 'd' delete,
                              // 'r' rename, 's' set rights, 'u' in use (cannot be replaced)
    std::string readsRights;  // not "": the rights read back, whatever was set (a drive that keeps its own)
};

struct FakeFiles {
    std::map<std::string, FakeItem> items;
    bool folderTakesNewFiles = true;         // a save's new file can be made
    std::size_t changes = 0;                 // the changes asked so far: deletes, renames, rights, extractions
    std::size_t refusedChange = SIZE_MAX;    // the one (from 0) the disk refuses
    bool refusesAfter = false;               // and every one after it: the program stopped dead there
    std::vector<std::string> calls;          // each change made: "delete PATH", "rename PATH TO", "rights PATH", ...
    std::map<FileHandle, std::string> open;  // each handle not yet closed: its path
    std::size_t bytesRead = 0;
};

extern FakeSerial g_fakeSerial;
extern FakeRegistry g_fakeRegistry;
extern FakeWindow g_fakeWindow;
extern FakeInstance g_fakeInstance;
extern FakeFiles g_fakeFiles;

// Whether the disk takes one more change.
inline bool FakeChangeAllowed() {
    const std::size_t at = g_fakeFiles.changes++;
    return at < g_fakeFiles.refusedChange || (at > g_fakeFiles.refusedChange && !g_fakeFiles.refusesAfter);
}

inline FakeItem* FakeItemAt(const std::string& path) {
    const auto found = g_fakeFiles.items.find(path);
    return found == g_fakeFiles.items.end() ? nullptr : &found->second;
}

// The main window that start-up creates; the fakes keep its enabling.
inline WindowHandle FakeMainWindow() {
    static char window;
    return &window;
}

// A fresh program on a fresh platform: each subsystem's state as the program starts with it, and its
// main window made.
inline void StartFreshProgram() {
    g_shell = {};
    g_lang = {};
    g_connection = {};
    g_ports = {};
    g_window = {};
    g_fakeSerial = {};
    g_fakeRegistry = {};
    g_fakeWindow = {};
    g_fakeInstance = {};
    g_fakeFiles = {};
    g_shell.window = FakeMainWindow();
}

// UTF-16LE bytes of an ASCII text, with the terminating zero character.
inline std::string Utf16(const std::string& text) {
    std::string bytes;
    for (char c : text + '\0') bytes += std::string{c, '\0'};
    return bytes;
}
