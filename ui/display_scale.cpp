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

namespace {

// The system font serves the controls as it is where it is made for the window's DPI and holds Cyrillic
// (a Russian Windows at its own scale); elsewhere they get its face at the window's scale in Cyrillic.
bool SystemFontServes(const DisplayScaleState& scale) {
    return scale.systemCharset == kCyrillicCharset && scale.fontDpi == scale.dpi;
}

void ReplaceControlFont(FontHandle font) {
    const FontHandle replaced = g_window.scale.font;
    g_window.scale.font = font;
    for (WindowHandle control : g_window.control) ControlSetFont(control, font);
    if (replaced != nullptr) FontDelete(replaced);
}

}  // namespace

void FitControlFont() {
    const DisplayScaleState& scale = g_window.scale;
    const bool systemFontServes = SystemFontServes(scale);
    if (systemFontServes && scale.font == nullptr) return;
    ReplaceControlFont(systemFontServes ? nullptr : FontCreateFromSystem(scale.fontDpi, scale.dpi, kCyrillicCharset));
}

void ReleaseControlFont() {
    if (g_window.scale.font != nullptr) ReplaceControlFont(nullptr);
}
