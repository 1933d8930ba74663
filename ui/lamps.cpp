#include "ui/lamps.h"

#include "app/main_window.h"
#include "ui/display_scale.h"

LampState g_lamps;

void InvalidateLampArea() { WindowInvalidate(g_main.window, ScaleRect(kLampArea, g_scale.dpi), false); }
