#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "tests/unit/fakes/fake_draw.h"
#include "tests/unit/fakes/fake_platform.h"
#include "ui/indicator_panel.h"
#include "ui/lamps.h"
#include "ui/tab_pages.h"

namespace {

class IndicatorPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        ResetFakeDraw();
        g_main.window = FakeMainWindow();
    }
};

TEST_F(IndicatorPanel, ErasesTheOtherPageThenDrawsTheShownLampsInTheirColours) {
    g_tabs.readerModel = kReaderSerial;
    g_lamps = LampState{{kColourGreen, kColourBlue, kColourMagenta, kColourYellow, kColourWhite}};
    PaintIndicatorPanel();

    ASSERT_EQ(g_fakeDraw.ellipses.size(), 10u);
    const std::vector<int> usbTops = {130, 210, 290, 390, 500};
    const std::vector<int> serialTops = {140, 230, 320, 410, 500};
    const std::vector<std::uint32_t> colours = {kColourGreen, kColourBlue, kColourMagenta, kColourYellow,
                                                kColourWhite};
    for (int lamp = 0; lamp < 5; ++lamp) {
        const FakeEllipse& erased = g_fakeDraw.ellipses[static_cast<std::size_t>(lamp)];
        EXPECT_EQ(erased.box.top, usbTops[static_cast<std::size_t>(lamp)]);
        EXPECT_EQ(erased.brushColour, erased.penColour);  // background colour, outline included
        EXPECT_EQ(erased.penWidth, 2);
        const FakeEllipse& drawn = g_fakeDraw.ellipses[static_cast<std::size_t>(lamp + 5)];
        EXPECT_EQ(drawn.box.top, serialTops[static_cast<std::size_t>(lamp)]);
        EXPECT_EQ(drawn.box.left, 345);
        EXPECT_EQ(drawn.box.right, 365);
        EXPECT_EQ(drawn.box.bottom - drawn.box.top, 20);
        EXPECT_EQ(drawn.brushColour, colours[static_cast<std::size_t>(lamp)]);
        EXPECT_EQ(drawn.penColour, 0u);
        EXPECT_EQ(drawn.penWidth, 2);
    }
    // The draw pass paints into the lamp area invalidated between the passes.
    ASSERT_EQ(g_fake.invalidated.size(), 1u);
    EXPECT_EQ(g_fake.invalidated[0].left, 330);
    EXPECT_EQ(g_fake.invalidated[0].bottom, 560);
}

TEST_F(IndicatorPanel, EveryPenAndBrushIsDeletedOnceAfterBeingDeselected) {
    for (int model : {kReaderSerial, kReaderUsb, kReaderSerial}) {
        g_tabs.readerModel = model;
        for (int paint = 0; paint < 50; ++paint) PaintIndicatorPanel();
    }
    EXPECT_EQ(UnbalancedDrawObjects(), 0);
    EXPECT_EQ(g_fakeDraw.openPaints, 0);
    EXPECT_EQ(g_fakeDraw.passes, 300);
    EXPECT_EQ(g_fakeDraw.selectedPen, 0);  // the context gets its own pen and brush back
    EXPECT_EQ(g_fakeDraw.selectedBrush, 1);
}

TEST_F(IndicatorPanel, TheSecondTabErasesTheFirstTabsPlaces) {
    g_tabs.readerModel = kReaderUsb;
    PaintIndicatorPanel();
    ASSERT_EQ(g_fakeDraw.ellipses.size(), 10u);
    EXPECT_EQ(g_fakeDraw.ellipses[0].box.top, 140);
    EXPECT_EQ(g_fakeDraw.ellipses[5].box.top, 130);
}

TEST_F(IndicatorPanel, AModelWithoutAPageDrawsNothingAndLeaksNothing) {
    g_tabs.readerModel = 7;
    PaintIndicatorPanel();
    EXPECT_TRUE(g_fakeDraw.ellipses.empty());
    EXPECT_EQ(UnbalancedDrawObjects(), 0);
    EXPECT_EQ(LampBox(kReaderSerial, 5), nullptr);
}

}  // namespace
