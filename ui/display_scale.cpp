#include "ui/display_scale.h"

#include <cstdint>

#include "app/main_window.h"
#include "ui/control_glue.h"
#include "ui/layout.h"

DisplayScaleState g_scale;

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

int Scaled(int value) { return ScaleToDpi(value, g_scale.dpi); }

bool SystemFontServes(int systemCharset, int fontDpi, int dpi) {
    return systemCharset == kCyrillicCharset && fontDpi == dpi;
}

namespace {

void ReplaceControlFont(FontHandle font) {
    const FontHandle replaced = g_scale.font;
    g_scale.font = font;
    for (WindowHandle control : g_controls.handle) ControlSetFont(control, font);
    if (replaced != nullptr) FontDelete(replaced);
}

}  // namespace

void FitControlFont() {
    const bool systemFontServes = SystemFontServes(g_scale.systemCharset, g_scale.fontDpi, g_scale.dpi);
    if (systemFontServes && g_scale.font == nullptr) return;
    ReplaceControlFont(systemFontServes ? nullptr
                                        : FontCreateFromSystem(g_scale.fontDpi, g_scale.dpi, kCyrillicCharset));
}

void ReleaseControlFont() {
    if (g_scale.font != nullptr) ReplaceControlFont(nullptr);
}

void ChangeDisplayScale(int dpi, const PixelRect& suggested) {
    g_scale.dpi = dpi;
    WindowSetRect(g_main.window, suggested);
    PlaceMainWindowControls();
    FitControlFont();
    WindowInvalidate(g_main.window, {0, 0, Scaled(kMainWindowWidth), Scaled(kMainWindowHeight)}, true);
}
