#pragma once

// The message boxes (ReportMessage, ReportSerialError, EnableMainWindow) are declared with the view of the
// serial subsystem, which they serve as much as the shell.
#include "serial/port_view.h"
