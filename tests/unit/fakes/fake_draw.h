#pragma once

#include <cstdint>
#include <vector>

#include "ui/window_ops_glue.h"

// What the paint drew and which drawing objects it created and deleted.
struct FakeEllipse {
    PixelRect box;
    std::uint32_t penColour;
    int penWidth;
    std::uint32_t brushColour;
};

struct FakeDrawObject {
    bool pen = false;
    bool system = false;  // a system brush, not to be deleted
    std::uint32_t colour = 0;
    int width = 0;
    int deletions = 0;
    bool selectedWhenDeleted = false;
};

struct FakeDraw {
    std::vector<FakeDrawObject> objects;  // index 0: the context's original pen, 1: its original brush
    int selectedPen = 0;
    int selectedBrush = 1;
    int openPaints = 0;
    int passes = 0;
    std::vector<FakeEllipse> ellipses;
};
extern FakeDraw g_fakeDraw;

void ResetFakeDraw();
// Created objects not deleted exactly once (a leak or a double delete).
int UnbalancedDrawObjects();
