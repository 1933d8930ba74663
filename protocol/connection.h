#pragma once

// What the last exchange with the reader established. Each flag is cleared by
// Disconnect; the port-open flag itself lives with the serial link.
struct ConnectionState {
    bool readerVerified = false;  // the user or the search settled on this port
    bool quietSearch = false;     // a search is probing: class 0/1 replies pass silently
    bool settingsValid = false;   // the last payload carried a supported firmware version
};
extern ConnectionState g_connection;

// Closes the port if open, refreshes the port list, clears the flags and puts
// "x.xx" back into the version field. Radio buttons and lamps stay as they are.
void Disconnect();
