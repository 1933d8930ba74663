#pragma once

#include <cstdint>

#include "app/handles.h"
#include "ui/window_ops_glue.h"

// Drawing on the main window's surface (ui/win32/draw_glue_win32.cpp).

using DrawContext = void*;
using DrawObject = void*;

DrawContext PaintBegin(WindowHandle window);  // one paint pass at a time
void PaintEnd(WindowHandle window);
std::uint32_t ButtonFaceColour();
DrawObject ButtonFaceBrush();  // a system brush: never deleted
DrawObject PenCreateSolid(int width, std::uint32_t colour);
DrawObject BrushCreateSolid(std::uint32_t colour);
DrawObject DrawSelect(DrawContext context, DrawObject object);  // returns the object it replaced
void DrawEllipse(DrawContext context, const PixelRect& box);
void DrawDelete(DrawObject object);
