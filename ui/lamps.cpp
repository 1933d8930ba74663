#include "ui/lamps.h"

#include "app/main_window.h"

LampState g_lamps;

void InvalidateLampArea() { WindowInvalidate(g_main.window, kLampArea, false); }
