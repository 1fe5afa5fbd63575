#include "preview/Geometry.h"

#include <gtest/gtest.h>
#include <stdexcept>

using preview::ZoomGeometry;
using Axis = ZoomGeometry::Axis;

namespace {
// A page laid out at its own size: a Letter page chosen.
ZoomGeometry letterPage()
{
    ZoomGeometry g;
    g.sizeCanvasTo(QSizeF(12240, 15840));
    g.choosePage();
    return g;
}
}  // namespace

TEST(ZoomGeometry, ZoomStepsReachTheirLimitsExactly)
{
    ZoomGeometry g = letterPage();
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(g.zoomIn());
    EXPECT_EQ(g.zoom(), 4.0f);
    EXPECT_FALSE(g.zoomIn());
    EXPECT_EQ(g.zoom(), 4.0f);
    ASSERT_TRUE(g.setZoom(1.0f));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(g.zoomOut());
    EXPECT_EQ(g.zoom(), 0.25f);
    EXPECT_FALSE(g.zoomOut());
    EXPECT_FALSE(g.setZoom(4.25f));
    EXPECT_EQ(g.zoom(), 0.25f);
}

TEST(ZoomGeometry, TheNaturalSizeIsTheHoldersInnerSizeLessTwo)
{
    // The holder is a plain box like the canvas: the whole page is drawn.
    const ZoomGeometry g = letterPage();
    EXPECT_EQ(g.zoom(), 1.0f);
    EXPECT_EQ(g.naturalWidth(), 12240 - 2);
    EXPECT_EQ(g.naturalHeight(), 15840 - 2);
    EXPECT_EQ(g.zoomedWidth(), 12240 - 2);
}

TEST(ZoomGeometry, EveryStepDrawsALetterPageAndTheLimitFallsBackToOne)
{
    ZoomGeometry g = letterPage();
    for (float zoom = 0.25f; zoom <= 4.0f; zoom += 0.25f) {
        ASSERT_TRUE(g.setZoom(zoom));
        EXPECT_TRUE(g.sizeForZoom()) << zoom;
        EXPECT_EQ(g.zoomedWidth(), static_cast<int>(std::floor(g.naturalWidth() * double(zoom))));
    }
    // One below the limit is drawn; the limit itself falls back to 1.0 and
    // the natural size.
    ZoomGeometry edge;
    edge.sizeCanvasTo(QSizeF(35001, 102));  // 34999 wide
    edge.choosePage();
    edge.setZoom(2.0f);
    EXPECT_TRUE(edge.sizeForZoom());
    edge.sizeCanvasTo(QSizeF(35002, 3002));  // 35000 by 3000
    edge.choosePage();
    edge.setZoom(2.0f);
    EXPECT_FALSE(edge.sizeForZoom());
    EXPECT_EQ(edge.zoom(), 1.0f);
    EXPECT_EQ(edge.naturalWidth(), 35000);
    EXPECT_EQ(edge.zoomedWidth(), 35000);
    EXPECT_EQ(edge.zoomedHeight(), 3000);
}

TEST(ZoomGeometry, ScrollBarsFollowTheCanvasOverhangOfTheViewportsInside)
{
    ZoomGeometry g;
    g.sizeCanvasTo(QSizeF(g.viewportInnerWidth() + 50, g.viewportInnerHeight() + 2910));
    g.beginDrag(0, 0);
    g.moveDrag(true, -7, 0);
    ASSERT_EQ(g.canvas().left, -7);
    g.setupScrollBars();
    EXPECT_EQ(g.canvas().left, 0);
    EXPECT_TRUE(g.hBar().enabled);
    EXPECT_EQ(g.hBar().maximum, 50);
    EXPECT_EQ(g.stepX(), 1);
    EXPECT_EQ(g.vBar().maximum, 291);
    EXPECT_EQ(g.stepY(), 10);
    g.setBarValue(Axis::Horizontal, 50);
    EXPECT_EQ(g.canvas().left, -50);
    g.setBarValue(Axis::Vertical, 291);
    EXPECT_EQ(g.canvas().top, -2910);
    // An arrow moves about a line, a click in the trough about a viewport.
    EXPECT_EQ(g.vBar().singleStep * g.stepY(), 240);
    EXPECT_NEAR(g.vBar().pageStep * g.stepY(), g.viewportInnerHeight(), 300);

    ZoomGeometry exact;
    exact.sizeCanvasTo(QSizeF(exact.viewportInnerWidth(), 3435));
    exact.setupScrollBars();
    EXPECT_FALSE(exact.hBar().enabled);
    EXPECT_EQ(exact.stepX(), 0);
    EXPECT_EQ(exact.endDrag().first, -1);  // the bar is left alone
}

TEST(ZoomGeometry, EveryEdgeOfAZoomedPageIsReachedByTheBarsAndByADrag)
{
    for (float zoom = 0.25f; zoom <= 4.0f; zoom += 0.25f) {
        SCOPED_TRACE(zoom);
        ZoomGeometry g = letterPage();
        ASSERT_TRUE(g.setZoom(zoom));
        ASSERT_TRUE(g.sizeForZoom());
        g.placeRedrawnCanvas();
        g.setupScrollBars();
        g.setBarValue(Axis::Horizontal, g.hBar().maximum);
        g.setBarValue(Axis::Vertical, g.vBar().maximum);
        // The far edges meet the viewport's inside, to within half a step.
        if (g.hBar().enabled) {
            EXPECT_NEAR(g.canvas().left + g.canvas().width, g.viewportInnerWidth(), g.stepX() / 2.0);
        }
        if (g.vBar().enabled) {
            EXPECT_NEAR(g.canvas().top + g.canvas().height, g.viewportInnerHeight(), g.stepY() / 2.0);
        }

        // Dropped anywhere, the bars take the matching values and the canvas
        // stays within half a step of the drop.
        g.setBarValue(Axis::Horizontal, 0);
        g.setBarValue(Axis::Vertical, 0);
        g.beginDrag(0, 0);
        g.moveDrag(true, -5627, -3313);
        const int left = g.canvas().left, top = g.canvas().top;
        const auto [h, v] = g.endDrag();
        if (h >= 0) {
            g.snapBar(Axis::Horizontal, h);
            EXPECT_LE(std::abs(g.canvas().left - left), 5);
        }
        if (v >= 0) {
            g.snapBar(Axis::Vertical, v);
            EXPECT_LE(std::abs(g.canvas().top - top), 5);
        }
    }
}

TEST(ZoomGeometry, PercentagesSetTheBarWithinItsMaximum)
{
    ZoomGeometry g;
    g.sizeCanvasTo(QSizeF(g.viewportInnerWidth() + 2910, g.viewportInnerHeight() + 1));
    g.setupScrollBars();
    ASSERT_EQ(g.hBar().maximum, 291);
    ASSERT_EQ(g.stepX(), 10);
    EXPECT_FALSE(g.setBarByPercent(Axis::Horizontal, -1));
    EXPECT_FALSE(g.setBarByPercent(Axis::Horizontal, 101));
    EXPECT_EQ(g.hBar().value, 0);
    EXPECT_TRUE(g.setBarByPercent(Axis::Horizontal, 50));
    EXPECT_EQ(g.hBar().value, 146);  // 145.5, halves to even
    EXPECT_EQ(g.canvas().left, -1460);
    ASSERT_EQ(g.vBar().maximum, 1);
    for (qint16 p : {0, 50, 100, 32000})
        EXPECT_TRUE(g.setBarByPercent(Axis::Vertical, p) || p > 100);
    EXPECT_EQ(g.vBar().value, 1);  // 0.5 at 50 % halves to 0; 32000 % is refused
}

TEST(ZoomGeometry, DraggingFollowsThePointerWithinTheEdges)
{
    ZoomGeometry g;
    g.sizeCanvasTo(QSizeF(20000, 20000));
    EXPECT_FALSE(g.moveDrag(false, 500, 500));  // no button held: nothing moves
    g.beginDrag(1000, 1000);
    g.moveDrag(true, 1500, 1200);  // to the right at the left edge: stays at 0
    EXPECT_EQ(g.canvas().left, 0);
    EXPECT_EQ(g.canvas().top, 0);
    g.moveDrag(true, 400, 100);
    EXPECT_EQ(g.canvas().left, -600);
    EXPECT_EQ(g.canvas().top, -900);
    g.moveDrag(true, -30000, -30000);  // the far edges hold
    EXPECT_EQ(g.canvas().left, g.viewportInnerWidth() - 20000);
    EXPECT_EQ(g.canvas().top, g.viewportInnerHeight() - 20000);

    ZoomGeometry narrow;
    narrow.sizeCanvasTo(QSizeF(3000, 3435));
    narrow.beginDrag(100, 0);
    narrow.moveDrag(true, 50, 0);  // narrower than the view: against the right edge
    EXPECT_EQ(narrow.canvas().left, narrow.viewportInnerWidth() - 3000);
}

TEST(ZoomGeometry, SixteenBitProductsOverflowInsteadOfWrapping)
{
    EXPECT_THROW(preview::toInteger(40000), std::overflow_error);
    // Except the canvas edge a bar sets: at 400 % a page reaches past 32767 twips.
    ZoomGeometry g = letterPage();
    g.setZoom(4.0f);
    g.sizeForZoom();
    g.placeRedrawnCanvas();
    g.setupScrollBars();
    EXPECT_NO_THROW(g.setBarValue(Axis::Vertical, g.vBar().maximum));
    EXPECT_LT(g.canvas().top, -32768);
    EXPECT_EQ(preview::toInteger(2.5), 2);
    EXPECT_EQ(preview::roundToLong(-3.5), -4);
}
