#include "ui/indicator_panel.h"

#include "app/main_window.h"
#include "protocol/reader_view.h"
#include "ui/display_scale.h"
#include "ui/draw_glue.h"
#include "ui/window_state.h"

namespace {

constexpr int kPenWidth = 2;
constexpr std::uint32_t kBlack = 0;

// Each lamp's top lies 5 pixels above the middle of its settings group.
constexpr PixelRect kLampBoxes[2][kLampCount] = {
    {{345, 140, 365, 160}, {345, 230, 365, 250}, {345, 320, 365, 340}, {345, 410, 365, 430}, {345, 500, 365, 520}},
    {{345, 130, 365, 150}, {345, 210, 365, 230}, {345, 290, 365, 310}, {345, 390, 365, 410}, {345, 500, 365, 520}},
};

// Without erasing, the previous page's lamps would stay after a tab change:
// paint their places in the window's background colour.
void ErasePass(int hiddenModel) {
    DrawContext context = PaintBegin(g_shell.window);
    DrawObject pen = PenCreateSolid(Scaled(kPenWidth), ButtonFaceColour());
    DrawObject oldPen = DrawSelect(context, pen);
    DrawObject oldBrush = DrawSelect(context, ButtonFaceBrush());
    for (int lamp = 0; lamp < kLampCount; ++lamp) {
        if (const PixelRect* box = LampBox(hiddenModel, lamp))
            DrawEllipse(context, ScaleRect(*box, g_window.scale.dpi));
    }
    DrawSelect(context, oldPen);
    DrawSelect(context, oldBrush);
    DrawDelete(pen);
    PaintEnd(g_shell.window);
}

void DrawPass(int shownModel) {
    DrawContext context = PaintBegin(g_shell.window);
    DrawObject pen = PenCreateSolid(Scaled(kPenWidth), kBlack);
    DrawObject oldPen = DrawSelect(context, pen);
    DrawObject brushes[kLampCount];
    for (int lamp = 0; lamp < kLampCount; ++lamp) brushes[lamp] = BrushCreateSolid(g_window.lamp[lamp]);
    DrawObject oldBrush = DrawSelect(context, brushes[0]);
    for (int lamp = 0; lamp < kLampCount; ++lamp) {
        if (lamp > 0) DrawSelect(context, brushes[lamp]);
        if (const PixelRect* box = LampBox(shownModel, lamp)) DrawEllipse(context, ScaleRect(*box, g_window.scale.dpi));
    }
    DrawSelect(context, oldPen);
    DrawSelect(context, oldBrush);
    DrawDelete(pen);
    for (DrawObject brush : brushes) DrawDelete(brush);
    PaintEnd(g_shell.window);
}

}  // namespace

const PixelRect* LampBox(int readerModel, int lamp) {
    if (readerModel != kReaderSerial && readerModel != kReaderUsb) return nullptr;
    if (lamp < 0 || lamp >= kLampCount) return nullptr;
    return &kLampBoxes[readerModel][lamp];
}

void PaintIndicatorPanel() {
    const int shown = g_shell.readerModel;
    const bool hasPage = shown == kReaderSerial || shown == kReaderUsb;
    ErasePass(hasPage ? 1 - shown : -1);
    InvalidateLampArea();
    DrawPass(shown);
}
