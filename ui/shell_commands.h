#pragma once

// The window procedure's handlers of the right-click menu and of the window going.

// The right-click menu with Quit, at a point of the client area.
void OnShellMenu(int x, int y);
// Stops every timer, drops the connection, gives the controls the system font back and ends the message loop.
void OnWindowGone();
