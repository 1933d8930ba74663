#pragma once

// Scripted serial ports for the host build, linked instead of
// serial/serial_port_win32.cpp. A port is found by its name behind "\\.\";
// tests script how it fails and what arrives on its line, and read back what
// the program set and wrote and which handles it left open.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "serial/serial_port_glue.h"

// One step of a port's incoming line, consumed by one single-byte read.
struct FakeLineEvent {
    enum Kind { kByte, kGap, kReadError } kind;
    std::uint8_t byte;  // kByte
    std::int32_t error;  // kReadError: the system error number
};

struct FakeSerialPort {
    std::string name;  // "COM3"

    // Failures, by system error number; 0 = the call succeeds.
    std::int32_t openError = 0;
    std::int32_t timeoutsError = 0;
    std::int32_t getStateError = 0;
    std::int32_t setStateError = 0;
    std::int32_t writeError = 0;
    std::int32_t writeLimit = -1;  // >= 0: a write stops after this many bytes
    PortLineState driverState{};   // what the driver reports before any change

    // The line: once the events run out, every read times out.
    std::deque<FakeLineEvent> incoming;

    // What the program did to the port.
    std::vector<std::string> calls;  // "timeouts", "get", "set", "read", "write", "close"
    bool timeoutsSet = false;
    PortTimeouts timeouts{};
    bool stateSet = false;
    PortLineState state{};
    std::string written;
};

struct FakeSerialHandle {
    int port;  // index into FakeSerial::ports
    bool open;
};

struct FakeSerial {
    std::vector<FakeSerialPort> ports;
    std::vector<std::string> paths;  // every path given to the open call
    std::vector<FakeSerialHandle> handles;
    int badCloses = 0;  // closes of a handle that was not open
    std::int32_t lastError = 0;
};

extern FakeSerial g_fakeSerial;

// Clears the fake and the program's port state.
void ResetFakeSerial();
// Adds a port that opens and configures cleanly; the reference stays valid
// until the next AddFakePort or reset.
FakeSerialPort& AddFakePort(const char* name);
// Queues bytes, a quiet spell of one read time-out, or a failing read.
void QueueBytes(FakeSerialPort& port, const std::string& bytes);
void QueueGap(FakeSerialPort& port);
void QueueReadError(FakeSerialPort& port, std::int32_t error);
// Handles the program opened and has not closed.
int OpenFakeHandles();
// The port behind a handle the fake handed out, or nullptr.
FakeSerialPort* FakePortOf(PortHandle handle);
