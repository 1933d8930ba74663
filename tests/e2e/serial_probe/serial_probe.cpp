// A console program that drives the serial link through the real serial glue,
// one command per line on stdin, one answer line per command on stdout:
//
//   lang en|ru            -> lang
//   open COMn             -> open ok handle=live | open fail error=N handle=invalid
//   write HEX             -> write ok|fail ms=T
//   read CAP              -> read ok len=N hex=HEX ms=T | read fail ms=T
//   exchange HEX CAP      -> like write, then read at once; ms from before the write to the read's end
//   close                 -> close handle=...
//   hold COMn / release   -> hold ok|fail / release: a bare open and close of the device, for
//                            a control of what an open handle looks like from outside
//   quit
//
// The serial error box is printed, not shown ("box style=S caption=HEX
// text=HEX"), so the scenarios read it without a display and without a click.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/texts.h"
#include "serial/serial_link.h"
#include "serial/serial_port.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Hex(const void* data, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::vector<std::uint8_t> FromHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
    }
    return bytes;
}

const char* HandleState() {
    if (g_serial.handle == nullptr) return "none";
    return g_serial.handle == InvalidPortHandle() ? "invalid" : "live";
}

std::string Millis(Clock::time_point start) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f",
                  std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    return text;
}

std::string Write(const std::string& hex) {
    const std::vector<std::uint8_t> bytes = FromHex(hex);
    return WritePort(bytes.data(), static_cast<std::int32_t>(bytes.size())) ? "ok" : "fail";
}

std::string Read(std::int32_t capacity) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity > 0 ? capacity : 1), 0);
    std::int32_t length = 0;
    if (!ReadPort(buffer.data(), capacity, &length)) return "fail";
    return "ok len=" + std::to_string(length) + " hex=" + Hex(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

MainWindowState g_main;

int ShowSystemMessage(WindowHandle, const char* text, const char* caption, unsigned style) {
    std::cout << "box style=" << style << " caption=" << Hex(caption, std::strlen(caption))
              << " text=" << Hex(text, std::strlen(text)) << std::endl;
    return 1;
}

int main() {
    g_lang.current = kLanguageEnglish;
    SelectLanguageTexts();
    PortHandle held = InvalidPortHandle();
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "quit") break;
        if (command == "lang") {
            std::string language;
            words >> language;
            g_lang.current = language == "ru" ? kLanguageRussian : kLanguageEnglish;
            SelectLanguageTexts();
            std::cout << "lang" << std::endl;
        } else if (command == "open") {
            std::string name;
            words >> name;
            if (OpenPort(name.c_str(), 19200)) {
                g_serial.portOpen = true;  // as the program's callers do
                std::cout << "open ok handle=" << HandleState() << std::endl;
            } else {
                const std::int32_t error = PortLastError();
                std::cout << "open fail error=" << error << " handle=" << HandleState() << std::endl;
            }
        } else if (command == "write" || command == "exchange") {
            std::string hex;
            std::int32_t capacity = 64;
            words >> hex >> capacity;
            const Clock::time_point start = Clock::now();
            std::string result = Write(hex);
            if (command == "exchange") result += " read " + Read(capacity);
            std::cout << command << ' ' << result << " ms=" << Millis(start) << std::endl;
        } else if (command == "read") {
            std::int32_t capacity = 64;
            words >> capacity;
            const Clock::time_point start = Clock::now();
            const std::string result = Read(capacity);
            std::cout << "read " << result << " ms=" << Millis(start) << std::endl;
        } else if (command == "hold") {
            std::string name;
            words >> name;
            held = PortCreate(("\\\\.\\" + name).c_str());
            std::cout << "hold " << (held == InvalidPortHandle() ? "fail" : "ok") << std::endl;
        } else if (command == "release") {
            PortClose(held);
            std::cout << "release" << std::endl;
        } else if (command == "close") {
            ClosePort();
            std::cout << "close handle=" << HandleState() << std::endl;
        } else {
            std::cout << "unknown " << command << std::endl;
        }
    }
    return 0;
}
