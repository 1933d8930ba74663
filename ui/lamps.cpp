#include "ui/lamps.h"

#include "app/main_window.h"
#include "protocol/reader_view.h"
#include "ui/display_scale.h"
#include "ui/window_ops_glue.h"
#include "ui/window_state.h"

void SetLampColour(int lamp, std::uint32_t colour) { g_window.lamp[lamp - 1] = colour; }

void InvalidateLampArea() { WindowInvalidate(g_shell.window, ScaleRect(kLampArea, g_window.scale.dpi), false); }
