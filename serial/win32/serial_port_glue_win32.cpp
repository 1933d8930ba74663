#include <windows.h>

#include <cstring>
#include <string>

#include "serial/serial_port_glue.h"

static_assert(sizeof(DCB) == kPortStateSize, "the line state carries the whole DCB");

// The device namespace "\\.\" is used for COM1 to COM9 too.
PortHandle PortCreate(const char* name) {
    const std::string path = std::string("\\\\.\\") + name;
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool PortSetTimeouts(PortHandle port, const PortTimeouts& timeouts) {
    COMMTIMEOUTS system{};
    system.ReadIntervalTimeout = timeouts.readInterval;
    system.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    system.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    system.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    system.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    return SetCommTimeouts(static_cast<HANDLE>(port), &system) != 0;
}

bool PortGetLineState(PortHandle port, PortLineState* state) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(static_cast<HANDLE>(port), &dcb)) return false;
    state->baudRate = dcb.BaudRate;
    state->byteSize = dcb.ByteSize;
    state->parity = dcb.Parity;
    state->stopBits = dcb.StopBits;
    std::memcpy(state->reported, &dcb, sizeof(DCB));
    return true;
}

bool PortSetLineState(PortHandle port, const PortLineState& state) {
    DCB dcb;
    std::memcpy(&dcb, state.reported, sizeof(DCB));
    dcb.BaudRate = state.baudRate;
    dcb.ByteSize = state.byteSize;
    dcb.Parity = state.parity;
    dcb.StopBits = state.stopBits;
    return SetCommState(static_cast<HANDLE>(port), &dcb) != 0;
}

bool PortReadByte(PortHandle port, std::uint8_t* byte, std::uint32_t* received) {
    DWORD count = 0;
    const BOOL ok = ReadFile(static_cast<HANDLE>(port), byte, 1, &count, nullptr);
    *received = count;
    return ok != 0;
}

bool PortWrite(PortHandle port, const std::uint8_t* data, std::uint32_t count, std::uint32_t* written) {
    DWORD done = 0;
    const BOOL ok = WriteFile(static_cast<HANDLE>(port), data, count, &done, nullptr);
    *written = done;
    return ok != 0;
}

bool PortDiscardInput(PortHandle port) { return PurgeComm(static_cast<HANDLE>(port), PURGE_RXCLEAR) != 0; }

void PortClose(PortHandle port) { CloseHandle(static_cast<HANDLE>(port)); }

std::int32_t PortLastError() { return static_cast<std::int32_t>(GetLastError()); }
