// A console program that drives the serial link through the real serial glue,
// one command per line on stdin, one answer line per command on stdout:
//
//   open COMn             -> open ok handle=live | open fail error=N handle=invalid
//   write HEX             -> write ok|short|fail error=N ms=T
//   read CAP              -> read ok len=N hex=HEX ms=T | read silent|fail error=N ms=T
//   exchange HEX CAP      -> like write, then read at once; ms from before the write to the read's end
//   close                 -> close handle=...
//   hold COMn / release   -> hold ok|fail / release: a bare open and close of the device, for
//                            a control of what an open handle looks like from outside
//   quit

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "serial/serial_link.h"

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

PortHandle g_handle = nullptr;

const char* HandleState() {
    if (g_handle == nullptr) return "none";
    return g_handle == InvalidPortHandle() ? "invalid" : "live";
}

std::string Outcome(LinkResult result, std::int32_t error) {
    if (result == kLinkOk) return "ok";
    if (result == kLinkSilent) return "silent";
    if (result == kLinkShort) return "short";
    return "fail error=" + std::to_string(error);
}

std::string Millis(Clock::time_point start) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f",
                  std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    return text;
}

std::string Write(const std::string& hex) {
    const std::vector<std::uint8_t> bytes = FromHex(hex);
    std::int32_t error = 0;
    return Outcome(LinkWrite(g_handle, bytes.data(), static_cast<std::int32_t>(bytes.size()), &error), error);
}

std::string Read(std::int32_t capacity) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity > 0 ? capacity : 1), 0);
    std::int32_t length = 0;
    std::int32_t error = 0;
    const LinkResult result = LinkReadReply(g_handle, buffer.data(), capacity, &length, &error, 0);
    if (result != kLinkOk) return Outcome(result, error);
    return "ok len=" + std::to_string(length) + " hex=" + Hex(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

int main() {
    PortHandle held = InvalidPortHandle();
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "quit") break;
        if (command == "open") {
            std::string name;
            words >> name;
            if (LinkOpen(name.c_str(), kBaudRate, &g_handle)) {
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
            held = PortCreate(name.c_str());
            std::cout << "hold " << (held == InvalidPortHandle() ? "fail" : "ok") << std::endl;
        } else if (command == "release") {
            PortClose(held);
            std::cout << "release" << std::endl;
        } else if (command == "close") {
            LinkClose(&g_handle);
            std::cout << "close handle=" << HandleState() << std::endl;
        } else {
            std::cout << "unknown " << command << std::endl;
        }
    }
    return 0;
}
