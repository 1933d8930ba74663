#include "tests/unit/fakes/fake_draw.h"

#include <cstdint>

#include "ui/draw_glue.h"

FakeDraw g_fakeDraw;

namespace {
constexpr std::uint32_t kFakeButtonFace = 0x00F0F0F0u;
char g_contextToken;

DrawObject Handle(std::size_t index) { return reinterpret_cast<DrawObject>(index + 1); }
std::size_t Index(DrawObject object) { return reinterpret_cast<std::uintptr_t>(object) - 1; }

DrawObject NewObject(bool pen, bool system, std::uint32_t colour, int width) {
    FakeDrawObject object;
    object.pen = pen;
    object.system = system;
    object.colour = colour;
    object.width = width;
    g_fakeDraw.objects.push_back(object);
    return Handle(g_fakeDraw.objects.size() - 1);
}
}  // namespace

void ResetFakeDraw() {
    g_fakeDraw = FakeDraw{};
    NewObject(true, true, 0, 1);             // the context's own pen
    NewObject(false, true, 0x00FFFFFFu, 0);  // and brush
}

int UnbalancedDrawObjects() {
    int unbalanced = 0;
    for (const FakeDrawObject& object : g_fakeDraw.objects) {
        if (!object.system && (object.deletions != 1 || object.selectedWhenDeleted)) unbalanced++;
    }
    return unbalanced;
}

DrawContext PaintBegin(WindowHandle) {
    g_fakeDraw.openPaints++;
    g_fakeDraw.passes++;
    return &g_contextToken;
}

void PaintEnd(WindowHandle) { g_fakeDraw.openPaints--; }

std::uint32_t ButtonFaceColour() { return kFakeButtonFace; }

DrawObject ButtonFaceBrush() { return NewObject(false, true, kFakeButtonFace, 0); }

DrawObject PenCreateSolid(int width, std::uint32_t colour) { return NewObject(true, false, colour, width); }

DrawObject BrushCreateSolid(std::uint32_t colour) { return NewObject(false, false, colour, 0); }

DrawObject DrawSelect(DrawContext, DrawObject object) {
    const std::size_t index = Index(object);
    int& slot = g_fakeDraw.objects.at(index).pen ? g_fakeDraw.selectedPen : g_fakeDraw.selectedBrush;
    const int previous = slot;
    slot = static_cast<int>(index);
    return Handle(static_cast<std::size_t>(previous));
}

void DrawEllipse(DrawContext, const PixelRect& box) {
    const FakeDrawObject& pen = g_fakeDraw.objects.at(static_cast<std::size_t>(g_fakeDraw.selectedPen));
    const FakeDrawObject& brush = g_fakeDraw.objects.at(static_cast<std::size_t>(g_fakeDraw.selectedBrush));
    g_fakeDraw.ellipses.push_back({box, pen.colour, pen.width, brush.colour});
}

void DrawDelete(DrawObject object) {
    const std::size_t index = Index(object);
    FakeDrawObject& target = g_fakeDraw.objects.at(index);
    target.deletions++;
    if (static_cast<int>(index) == g_fakeDraw.selectedPen || static_cast<int>(index) == g_fakeDraw.selectedBrush)
        target.selectedWhenDeleted = true;
}
