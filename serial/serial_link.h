#pragma once

#include <cstdint>
#include <string>

// The one serial channel to a reader: 19200 baud, 8 data bits, no parity,
// 1 stop bit, blocking reads and writes bounded by the port's time-outs.

using PortHandle = void*;  // the system's file handle; only the glue looks inside

constexpr std::uint32_t kBaudRate = 19200;  // every open of a reader's port
constexpr int kPortNameCapacity = 7;  // "COM" + up to 3 digits + NUL

struct SerialLinkState {
    PortHandle handle = nullptr;          // result of the last open, also when that failed
    bool portOpen = false;                // set by the callers of OpenPort, cleared by ClosePort
    char portName[kPortNameCapacity] = {};  // the current port name
};
extern SerialLinkState g_serial;

// Opens "\\.\" + name exclusively and configures it; shows nothing.
bool OpenPort(const char* name, std::uint32_t baud);
// Reads one byte per call until a 60 ms gap or `capacity` bytes; false when
// nothing arrived (silently) or on a read error (after the error box).
bool ReadPort(std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length);
// One write of `count` bytes; true only when all of them went.
bool WritePort(const std::uint8_t* data, std::int32_t count);
// Closes the port if the port-open flag is set, and clears the flag.
void ClosePort();

// Closes the port handle (once) but keeps the port-open flag: the port watch
// lets go of the port while it checks whether the port still exists.
void ReleasePortHandle();

// Makes `name` the current port name; false, and no change, when it is too
// long to be one (it is never cut short: a cut name could be another port).
bool SetCurrentPortName(const std::string& name);
