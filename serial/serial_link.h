#pragma once

#include <cstdint>

#include "serial/serial_port_glue.h"

// A serial line to a reader on a port the caller holds: 19200 baud, 8 data
// bits, no parity, 1 stop bit, blocking reads and writes bounded by the
// port's time-outs. Shows nothing: failures come back with the system's
// error number.

constexpr std::uint32_t kBaudRate = 19200;

enum LinkResult : int {
    kLinkOk,
    kLinkSilent,  // a read: not one byte arrived
    kLinkShort,   // a write: the time-out cut it short
    kLinkError,   // the system call failed; see the error number
};

// Opens `name` exclusively and configures it. On failure *handle is the invalid
// value and nothing is left open: a kept exclusive handle would lock the port.
bool LinkOpen(const char* name, std::uint32_t baud, PortHandle* handle);

// Reads one byte per call until the line stays quiet for 60 ms or `capacity`
// bytes have come (the rest stays queued for the next read). With
// firstByteWaitMs above 0 the first byte is awaited that long instead.
LinkResult LinkReadReply(PortHandle handle, std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length,
                         std::int32_t* error, std::uint32_t firstByteWaitMs);

// Drops the bytes received and not yet read (a reply too late for its wait,
// line noise), so that the next reply read is the answer to the next command.
LinkResult LinkDiscardInput(PortHandle handle, std::int32_t* error);

// One write of `count` bytes.
LinkResult LinkWrite(PortHandle handle, const std::uint8_t* data, std::int32_t count, std::int32_t* error);

// Closes a live handle once and leaves the invalid value.
void LinkClose(PortHandle* handle);

// Neither null nor the invalid value.
bool LinkIsLive(PortHandle handle);
