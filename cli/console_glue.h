#pragma once

// mz6's output on a Windows console (cli/win32/console_glue_win32.cpp), used by the system glue.
// No fake: only the system glue calls it; the e2e suite runs mz6.exe on a console under Wine.

// Where standard output or standard error is a console, what the program writes there (UTF-8) reaches it
// as UTF-16 through WriteConsoleW; the console's code page is left as it was. Pipes and files get the
// UTF-8 bytes as they are. Returns whether standard error is a console (or another character device).
bool RouteConsoleOutput();
