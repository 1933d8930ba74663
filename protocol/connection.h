#pragma once

// What the last exchange with the reader established: the protocol subsystem's part of the program's
// state. Each flag is cleared by Disconnect (serial/port_view.h); the port-open flag itself lives with the
// serial link.
struct ConnectionState {
    bool readerVerified = false;  // the user or the search settled on this port
    bool quietSearch = false;     // a search is probing: class 0/1 replies pass silently
    bool settingsValid = false;   // the last payload carried a supported firmware version
};
extern ConnectionState g_connection;
