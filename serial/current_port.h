#pragma once

#include <cstdint>
#include <string>

#include "serial/port_order.h"
#include "serial/serial_link.h"

// The window's one serial connection: the current port name, its handle and
// the port-open flag, with the link's failures reported in message boxes.

// The serial subsystem's part of the program's state, alive for the whole run.
struct PortState {
    PortHandle handle = nullptr;            // result of the last open, also when that failed
    bool portOpen = false;                  // set by the callers of OpenPort, cleared by ClosePort
    char portName[kPortNameCapacity] = {};  // the current port name
    int selectedIndex = 0;                  // position of the current port name in the port list
    bool watchPending = false;              // the port watch's check is armed and has not run yet
};
extern PortState g_ports;

// Opens and configures the port; shows nothing.
bool OpenPort(const char* name, std::uint32_t baud);
// The reply until a 60 ms gap or `capacity` bytes; false when nothing arrived
// (silently) or on a read error (after the error box).
bool ReadPort(std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length);
// One write of `count` bytes; true only when all of them went (an error box
// when the system call failed).
bool WritePort(const std::uint8_t* data, std::int32_t count);
// Closes the port if the port-open flag is set, and clears the flag.
void ClosePort();

// Closes the port handle (once) but keeps the port-open flag: the port watch
// lets go of the port while it checks whether the port still exists.
void ReleasePortHandle();

// Makes `name` the current port name; false, and no change, when it is too
// long to be one (it is never cut short: a cut name could be another port).
bool SetCurrentPortName(const std::string& name);

// "Error opening [name]!"
void ReportOpenFailure(const char* name);
