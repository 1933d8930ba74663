#include <utility>

#include "testkit/fakes/fakes.h"
#include "ui/draw_glue.h"

// A drawing object is its index in g_fakeWindow.drawObjects + 1.

static char g_context;
static DrawObject Handle(std::size_t index) { return reinterpret_cast<DrawObject>(index + 1); }
static int IndexOf(DrawObject object) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(object)) - 1; }
static FakeDrawObject& Object(DrawObject object) { return g_fakeWindow.drawObjects.at(IndexOf(object)); }
static DrawObject Add(bool pen, bool system) {
    g_fakeWindow.drawObjects.push_back({pen, system});
    return Handle(g_fakeWindow.drawObjects.size() - 1);
}

DrawContext PaintBegin(WindowHandle) {
    g_fakeWindow.unpairedPaints += g_fakeWindow.paintsOpen++ != 0 ? 1 : 0;
    return &g_context;
}
void PaintEnd(WindowHandle) { g_fakeWindow.unpairedPaints += g_fakeWindow.paintsOpen-- != 1 ? 1 : 0; }
std::uint32_t ButtonFaceColour() { return 0x00F0F0F0u; }
DrawObject ButtonFaceBrush() { return Add(false, true); }
DrawObject PenCreateSolid(int, std::uint32_t) { return Add(true, false); }
DrawObject BrushCreateSolid(std::uint32_t) { return Add(false, false); }
DrawObject DrawSelect(DrawContext, DrawObject object) {
    int& selected = Object(object).pen ? g_fakeWindow.selectedPen : g_fakeWindow.selectedBrush;
    return Handle(std::exchange(selected, IndexOf(object)));
}
void DrawEllipse(DrawContext, const PixelRect&) {
    ++(g_fakeWindow.drawObjects.at(g_fakeWindow.selectedBrush).system ? g_fakeWindow.lampsErased
                                                                      : g_fakeWindow.lampsPainted);
}
void DrawDelete(DrawObject object) {
    Object(object).deletions++;
    Object(object).deletedWhileSelected |=
        IndexOf(object) == g_fakeWindow.selectedPen || IndexOf(object) == g_fakeWindow.selectedBrush;
}
