#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "base/utf16_glue.h"
#include "cli/console_glue.h"
#include "cli/utf8_sequences.h"

// Every way the program writes (iostreams, printf, CLI11) ends in the C library's descriptors 1 and 2.
// Those that are a console are pointed at a pipe; a thread reads it and writes each whole UTF-8 sequence to
// the console with WriteConsoleW, so no code page is changed and Windows 7's console never counts UTF-8
// bytes short. One pipe for both keeps their order.

namespace {

struct Relay {
    HANDLE console = nullptr;  // a handle of its own: the descriptors' handles go with the redirection
    HANDLE pipe = nullptr;     // the read end
    HANDLE thread = nullptr;
    bool output = false, error = false;  // descriptors 1 and 2 go through it
};
Relay g_relay;

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void WriteToConsole(const std::string& utf8) {
    const std::wstring wide = Utf16Of(utf8);
    for (std::size_t done = 0; done < wide.size();) {
        DWORD written = 0;
        if (!WriteConsoleW(g_relay.console, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written,
                           nullptr) ||
            written == 0) {
            return;
        }
        done += written;
    }
}

DWORD WINAPI RelayToConsole(void*) {
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(g_relay.pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        const std::size_t whole = WholeSequences(pending);
        WriteToConsole(pending.substr(0, whole));
        pending.erase(0, whole);
    }
    WriteToConsole(pending);
    return 0;
}

// At exit: what is buffered goes out, the pipe is closed, and the thread writes the rest.
void FinishRelay() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    if (g_relay.output) _close(1);
    if (g_relay.error) _close(2);
    WaitForSingleObject(g_relay.thread, 10000);
}

}  // namespace

bool RouteConsoleOutput() {
    const bool errorIsCharacterDevice = _isatty(_fileno(stderr)) != 0;
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    const bool outputIsConsole = IsConsole(output), errorIsConsole = IsConsole(error);
    if (!outputIsConsole && !errorIsConsole) return errorIsCharacterDevice;

    HANDLE pipeWrite = nullptr;
    const HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, outputIsConsole ? output : error, process, &g_relay.console, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return errorIsCharacterDevice;
    }
    if (!CreatePipe(&g_relay.pipe, &pipeWrite, nullptr, 0)) return errorIsCharacterDevice;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(pipeWrite), _O_WRONLY | _O_TEXT);
    g_relay.thread = descriptor >= 0 ? CreateThread(nullptr, 0, RelayToConsole, nullptr, 0, nullptr) : nullptr;
    if (g_relay.thread == nullptr) {  // the console as it is: better some output than none
        if (descriptor >= 0) {
            _close(descriptor);
        } else {
            CloseHandle(pipeWrite);
        }
        CloseHandle(g_relay.pipe);
        return errorIsCharacterDevice;
    }
    std::fflush(nullptr);
    g_relay.output = outputIsConsole && _dup2(descriptor, 1) == 0;
    g_relay.error = errorIsConsole && _dup2(descriptor, 2) == 0;
    _close(descriptor);
    // A console is written as it comes, not in blocks as a pipe would be.
    if (g_relay.output) std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::atexit(FinishRelay);
    return errorIsCharacterDevice;
}
