#include <windows.h>

#include "ui/draw_glue.h"

// The paint passes never nest, so one PAINTSTRUCT serves them all.
static PAINTSTRUCT g_paint;

DrawContext PaintBegin(WindowHandle window) { return BeginPaint(static_cast<HWND>(window), &g_paint); }

void PaintEnd(WindowHandle window) { EndPaint(static_cast<HWND>(window), &g_paint); }

std::uint32_t ButtonFaceColour() { return GetSysColor(COLOR_BTNFACE); }

DrawObject ButtonFaceBrush() { return GetSysColorBrush(COLOR_BTNFACE); }

DrawObject PenCreateSolid(int width, std::uint32_t colour) { return CreatePen(PS_SOLID, width, colour); }

DrawObject BrushCreateSolid(std::uint32_t colour) { return CreateSolidBrush(colour); }

DrawObject DrawSelect(DrawContext context, DrawObject object) {
    return SelectObject(static_cast<HDC>(context), static_cast<HGDIOBJ>(object));
}

void DrawEllipse(DrawContext context, const PixelRect& box) {
    Ellipse(static_cast<HDC>(context), box.left, box.top, box.right, box.bottom);
}

void DrawDelete(DrawObject object) { DeleteObject(static_cast<HGDIOBJ>(object)); }
