#pragma once

#include <cstdint>
#include <string>

// Finding the reader, reading its settings and writing them back. Each
// operation runs to its end on the GUI thread and reports every outcome in a
// message box at once.

// Writes the read command of the current model and starts the reading wait.
void SendReadCommand();
// Writes a built write command and starts the writing wait.
void SendWriteCommand(const std::uint8_t* command, std::int32_t length);
// Opens the current port name and, when that works, sends the read command.
void ConnectAndRead();
// Connects to the port the user picked from the list at `position`.
void ConnectToPickedPort(const std::string& name, int position);
// Reads, classifies and reports the reply; returns its class (0 also when
// nothing arrived).
int ReceiveReply();
// The search (protocol/reader_search.cpp).

// The end of the search wait: refills the port list and looks for the reader
// of the current model.
void RunSearch();
// Tries each listed port with the read command until one answers with a
// supported payload.
void SearchSerialReader();
// Finds the USB reader's port by its USB identifiers and connects to it.
void LocateUsbReader();
