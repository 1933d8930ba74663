#pragma once

// The window procedure's handlers of the reader commands: a port picked from the list, SEARCH, READ and
// WRITE, and the end of an operation's wait.

void OnPortPicked();
void OnSearch();
void OnRead();
void OnWrite();
// One tick of the timer of operation 1, 2 or 3.
void OnOperationTimer(int id);
