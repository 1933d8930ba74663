#pragma once

#include "ui/window_messages.h"

// Everything the main window does with a message; the glue then hands every
// message, handled or not, to the default window procedure.
void HandleMainWindowMessage(unsigned message, MessageWParam wParam, MessageLParam lParam);
