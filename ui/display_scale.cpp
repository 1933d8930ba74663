#include "ui/display_scale.h"

#include <cstdint>

#include "app/main_window.h"
#include "ui/control_glue.h"
#include "ui/window_state.h"

int ScaleToDpi(int value, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t magnitude = (product < 0 ? -product : product) + kDesignDpi / 2;
    const std::int64_t rounded = magnitude / kDesignDpi;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

PixelRect ScaleRect(const PixelRect& rect, int dpi) {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

int Scaled(int value) { return ScaleToDpi(value, g_window.scale.dpi); }

void FitControlFont() {
    const FontHandle replaced = g_window.scale.font;
    const bool systemFontFits = g_window.scale.dpi == g_window.scale.fontDpi;
    if (systemFontFits && replaced == nullptr) return;
    g_window.scale.font = systemFontFits ? nullptr : FontCreateScaled(g_window.scale.fontDpi, g_window.scale.dpi);
    for (WindowHandle control : g_window.control) ControlSetFont(control, g_window.scale.font);
    if (replaced != nullptr) FontDelete(replaced);
}

void ReleaseControlFont() {
    g_window.scale.dpi = g_window.scale.fontDpi;
    FitControlFont();
}
