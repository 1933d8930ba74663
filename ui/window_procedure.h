#pragma once

#include "ui/window_messages.h"

// A message of the main window as the glue hands it on: for WM_NOTIFY the
// notification code is read out of lParam by the glue.
struct WindowEvent {
    unsigned message;
    MessageWParam wParam;
    MessageLParam lParam;
    int notifyCode;
};

// Everything the main window does with a message; the glue then hands every
// message, handled or not, to the default window procedure.
void HandleMainWindowMessage(const WindowEvent& event);
