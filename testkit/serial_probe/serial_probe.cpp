// The serial probe: the reader core's serial link on its real Win32 glue, so that the e2e suite can
// watch a real port under Wine byte by byte. One command per line on stdin, one answer line on stdout:
//
//   open COMn          -> open ok | open fail error=N
//   write HEX          -> write ok|short|fail error=N
//   read CAP [WAIT_MS] -> read ok len=N hex=HEX | read silent | read fail error=N
//                         (WAIT_MS: how long the first byte is awaited, as a command's reply is)
//   close              -> close
//
// The probe ends at the end of its input.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "serial/serial_link.h"

namespace {

std::string Outcome(LinkResult result, std::int32_t error) {
    const char* names[] = {"ok", "silent", "short"};
    return result == kLinkError ? "fail error=" + std::to_string(error) : names[result];
}

std::string Write(PortHandle port, const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    }
    std::int32_t error = 0;
    return Outcome(LinkWrite(port, bytes.data(), static_cast<std::int32_t>(bytes.size()), &error), error);
}

std::string Read(PortHandle port, std::int32_t capacity, std::uint32_t waitMs) {
    std::vector<std::uint8_t> buffer(capacity > 0 ? static_cast<std::size_t>(capacity) : 1);
    std::int32_t length = 0;
    std::int32_t error = 0;
    const LinkResult result = LinkReadReply(port, buffer.data(), capacity, &length, &error, waitMs);
    if (result != kLinkOk) return Outcome(result, error);
    std::string answer = "ok len=" + std::to_string(length) + " hex=";
    char digits[3];
    for (std::int32_t i = 0; i < length; ++i) {
        std::snprintf(digits, sizeof(digits), "%02x", buffer[static_cast<std::size_t>(i)]);
        answer += digits;
    }
    return answer;
}

}  // namespace

int main() {
    PortHandle port = InvalidPortHandle();
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command, argument;
        std::uint32_t waitMs = 0;
        words >> command >> argument >> waitMs;
        if (command == "open") {
            const bool opened = LinkOpen(argument.c_str(), kBaudRate, &port);
            std::cout << (opened ? "open ok" : "open fail error=" + std::to_string(PortLastError()));
        } else if (command == "write") {
            std::cout << "write " << Write(port, argument);
        } else if (command == "read") {
            std::cout << "read " << Read(port, std::atoi(argument.c_str()), waitMs);
        } else if (command == "close") {
            LinkClose(&port);
            std::cout << command;
        } else {
            std::cout << "unknown " << command;
        }
        std::cout << std::endl;
    }
    return 0;
}
