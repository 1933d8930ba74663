#pragma once

#include <cstdint>

// The system's serial calls, one call each: serial/win32/serial_port_glue_win32.cpp
// on Windows, serial/posix/serial_port_glue_posix.cpp on Linux.

using PortHandle = void*;  // the system's handle; only the glue looks inside

// The value the system returns for a port that could not be opened (all bits set).
inline PortHandle InvalidPortHandle() { return reinterpret_cast<PortHandle>(~std::uintptr_t{0}); }

// Milliseconds; the fields of the system's time-out structure. A read of one
// byte waits at most readTotalMultiplier + readTotalConstant for it.
struct PortTimeouts {
    std::uint32_t readInterval;
    std::uint32_t readTotalMultiplier;
    std::uint32_t readTotalConstant;
    std::uint32_t writeTotalMultiplier;
    std::uint32_t writeTotalConstant;
};

// Size of the system's device-control block, which carries a port's line state.
constexpr int kPortStateSize = 28;

// A port's line state: the four fields the program changes, and the whole
// block exactly as the driver reported it, so that every other field
// (flow control, special characters) goes back unchanged.
struct PortLineState {
    std::uint32_t baudRate;
    std::uint8_t byteSize;
    std::uint8_t parity;
    std::uint8_t stopBits;
    unsigned char reported[kPortStateSize];
};

// Opens the port by its system name ("COM4", "/dev/ttyUSB0") for reading and
// writing, exclusively, existing device only, synchronous I/O.
PortHandle PortCreate(const char* name);
bool PortSetTimeouts(PortHandle port, const PortTimeouts& timeouts);
bool PortGetLineState(PortHandle port, PortLineState* state);
// Writes `reported` back with the four fields put in.
bool PortSetLineState(PortHandle port, const PortLineState& state);
// One read of a single byte; `received` is 0 when the time-out ran out.
bool PortReadByte(PortHandle port, std::uint8_t* byte, std::uint32_t* received);
bool PortWrite(PortHandle port, const std::uint8_t* data, std::uint32_t count, std::uint32_t* written);
// Drops whatever the port has received and not yet read.
bool PortDiscardInput(PortHandle port);
void PortClose(PortHandle port);
// The system error number of the calling thread's last failed call.
std::int32_t PortLastError();
