#include "serial/serial_link.h"

namespace {

// A read asks for one byte, so each read waits at most 10 x 1 + 50 = 60 ms:
// the reply ends at the first 60 ms gap. A write of n bytes gets 10 x n + 50 ms.
constexpr PortTimeouts kTimeouts = {50, 10, 50, 10, 50};

constexpr std::uint8_t kByteSize = 8;
constexpr std::uint8_t kNoParity = 0;
constexpr std::uint8_t kOneStopBit = 0;

bool ConfigurePort(PortHandle port, std::uint32_t baud) {
    // Time-outs first: a port that cannot take them is not configured further.
    if (!PortSetTimeouts(port, kTimeouts)) return false;
    PortLineState line{};
    if (!PortGetLineState(port, &line)) return false;
    line.baudRate = baud;
    line.byteSize = kByteSize;
    line.parity = kNoParity;
    line.stopBits = kOneStopBit;
    return PortSetLineState(port, line);
}

// One byte, awaited `waitMs` (then back to the 60 ms gap) when that is above 0.
bool ReadFirstByte(PortHandle handle, std::uint32_t waitMs, std::uint8_t* byte, std::uint32_t* received) {
    if (waitMs == 0) return PortReadByte(handle, byte, received);
    PortTimeouts first = kTimeouts;
    first.readTotalMultiplier = 0;  // the one byte asked for adds nothing to the wait
    first.readTotalConstant = waitMs;
    if (!PortSetTimeouts(handle, first)) return false;
    const bool ok = PortReadByte(handle, byte, received);
    return PortSetTimeouts(handle, kTimeouts) && ok;
}

}  // namespace

bool LinkOpen(const char* name, std::uint32_t baud, PortHandle* handle) {
    *handle = PortCreate(name);
    if (*handle == InvalidPortHandle()) return false;
    if (ConfigurePort(*handle, baud)) return true;
    PortClose(*handle);
    *handle = InvalidPortHandle();
    return false;
}

LinkResult LinkReadReply(PortHandle handle, std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length,
                         std::int32_t* error, std::uint32_t firstByteWaitMs) {
    *length = 0;
    if (capacity < 1) return kLinkSilent;
    for (;;) {
        std::uint8_t byte = 0;
        std::uint32_t received = 0;
        const bool ok = *length == 0 ? ReadFirstByte(handle, firstByteWaitMs, &byte, &received)
                                     : PortReadByte(handle, &byte, &received);
        if (!ok) {
            *error = PortLastError();
            return kLinkError;
        }
        if (received == 0) return *length == 0 ? kLinkSilent : kLinkOk;  // quiet for a whole read time-out
        buffer[(*length)++] = byte;
        if (*length == capacity) return kLinkOk;
    }
}

LinkResult LinkDiscardInput(PortHandle handle, std::int32_t* error) {
    if (PortDiscardInput(handle)) return kLinkOk;
    *error = PortLastError();
    return kLinkError;
}

LinkResult LinkWrite(PortHandle handle, const std::uint8_t* data, std::int32_t count, std::int32_t* error) {
    if (count < 0) return kLinkShort;
    std::uint32_t written = 0;
    if (!PortWrite(handle, data, static_cast<std::uint32_t>(count), &written)) {
        *error = PortLastError();
        return kLinkError;
    }
    return written == static_cast<std::uint32_t>(count) ? kLinkOk : kLinkShort;
}

void LinkClose(PortHandle* handle) {
    if (LinkIsLive(*handle)) PortClose(*handle);
    *handle = InvalidPortHandle();
}

bool LinkIsLive(PortHandle handle) { return handle != nullptr && handle != InvalidPortHandle(); }
