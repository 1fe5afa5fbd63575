#include "preview/Geometry.h"

#include <gtest/gtest.h>
#include <stdexcept>

using preview::ZoomGeometry;

namespace {
// A page laid out at its own size: the holder takes a Letter page's size.
ZoomGeometry letterPage()
{
    ZoomGeometry g;
    g.canvasWidth = 12240;
    g.canvasHeight = 15840;
    g.holderFromCanvas();
    g.mZoom = 1.0f;
    g.readNaturalSize();
    return g;
}
}  // namespace

TEST(ZoomGeometry, ZoomStepsReachTheirLimitsExactly)
{
    float zoom = 1.0f;
    for (int i = 0; i < 12; ++i)
        zoom = ZoomGeometry::steppedZoom(zoom, 0);
    EXPECT_EQ(zoom, 4.0f);
    EXPECT_FALSE(ZoomGeometry::zoomAllowed(ZoomGeometry::steppedZoom(zoom, 0)));
    zoom = 1.0f;
    for (int i = 0; i < 3; ++i)
        zoom = ZoomGeometry::steppedZoom(zoom, 1);
    EXPECT_EQ(zoom, 0.25f);
    EXPECT_FALSE(ZoomGeometry::zoomAllowed(ZoomGeometry::steppedZoom(zoom, -7)));  // any non-zero zooms out
}

TEST(ZoomGeometry, TheNaturalSizeIsTheHoldersInnerSizeLessTwo)
{
    // The holder is a plain box like the canvas: the whole page is drawn.
    const ZoomGeometry g = letterPage();
    EXPECT_EQ(g.mOrigWidth, 12240 - 2);
    EXPECT_EQ(g.mOrigHeight, 15840 - 2);
}

TEST(ZoomGeometry, EveryStepDrawsALetterPageAndTheLimitFallsBackToOne)
{
    ZoomGeometry g = letterPage();
    for (float zoom = 0.25f; zoom <= 4.0f; zoom += 0.25f) {
        g.mZoom = zoom;
        EXPECT_TRUE(g.sizeForZoom()) << zoom;
        EXPECT_EQ(g.mCurWidth, static_cast<int>(std::floor(g.mOrigWidth * double(zoom))));
    }
    // One below the limit is drawn; the limit itself falls back to 1.0.
    ZoomGeometry edge;
    edge.mOrigWidth = 69999;
    edge.mOrigHeight = 100;
    edge.mZoom = 1.0f;
    EXPECT_TRUE(edge.sizeForZoom());
    edge.mOrigWidth = 70000;
    edge.mZoom = 1.0f;
    edge.holderWidth = 5002;
    edge.holderHeight = 3002;
    EXPECT_FALSE(edge.sizeForZoom());
    EXPECT_EQ(edge.mZoom, 1.0f);
    EXPECT_EQ(edge.mOrigWidth, 5000);  // read again from the holder
    EXPECT_EQ(edge.mCurWidth, 5000);
    EXPECT_EQ(edge.mCurHeight, 3000);
}

TEST(ZoomGeometry, ScrollBarsFollowTheCanvasOverhangOfTheViewportsInside)
{
    ZoomGeometry g;
    g.canvasWidth = g.viewportInnerWidth() + 50;
    g.canvasHeight = g.viewportInnerHeight() + 2910;
    g.canvasLeft = -7;
    g.setupScrollBars();
    EXPECT_EQ(g.canvasLeft, 0);
    EXPECT_TRUE(g.hBar.enabled);
    EXPECT_EQ(g.hBar.maximum, 50);
    EXPECT_EQ(g.mStepX, 1);
    EXPECT_EQ(g.vBar.maximum, 291);
    EXPECT_EQ(g.mStepY, 10);
    g.setHValue(50);
    EXPECT_EQ(g.canvasLeft, -50);
    g.setVValue(291);
    EXPECT_EQ(g.canvasTop, -2910);
    // An arrow moves about a line, a click in the trough about a viewport.
    EXPECT_EQ(g.vBar.singleStep * g.mStepY, 240);
    EXPECT_NEAR(g.vBar.pageStep * g.mStepY, g.viewportInnerHeight(), 300);

    ZoomGeometry exact;
    exact.canvasWidth = exact.viewportInnerWidth();
    exact.setupScrollBars();
    EXPECT_FALSE(exact.hBar.enabled);
    EXPECT_EQ(exact.mStepX, 0);
    EXPECT_EQ(exact.mouseUpValues().first, -1);  // the bar is left alone
}

TEST(ZoomGeometry, EveryEdgeOfAZoomedPageIsReachedByTheBarsAndByADrag)
{
    for (float zoom = 0.25f; zoom <= 4.0f; zoom += 0.25f) {
        SCOPED_TRACE(zoom);
        ZoomGeometry g = letterPage();
        g.mZoom = zoom;
        ASSERT_TRUE(g.sizeForZoom());
        g.placeRedrawnCanvas();
        g.setupScrollBars();
        g.setHValue(g.hBar.maximum);
        g.setVValue(g.vBar.maximum);
        // The far edges meet the viewport's inside, to within half a step.
        if (g.hBar.enabled) {
            EXPECT_NEAR(g.canvasLeft + g.canvasWidth, g.viewportInnerWidth(), g.mStepX / 2.0);
        }
        if (g.vBar.enabled) {
            EXPECT_NEAR(g.canvasTop + g.canvasHeight, g.viewportInnerHeight(), g.mStepY / 2.0);
        }

        // Dropped anywhere, the bars take the matching values and the canvas
        // stays within half a step of the drop.
        g.setHValue(0);
        g.setVValue(0);
        g.mouseDown(0, 0);
        g.mouseMove(true, -5627, -3313);
        const int left = g.canvasLeft, top = g.canvasTop;
        const auto [h, v] = g.mouseUpValues();
        if (h >= 0) {
            g.setHValue(h);
            EXPECT_LE(std::abs(g.canvasLeft - left), 5);
        }
        if (v >= 0) {
            g.setVValue(v);
            EXPECT_LE(std::abs(g.canvasTop - top), 5);
        }
    }
}

TEST(ZoomGeometry, PercentagesSetTheBarWithinItsMaximum)
{
    ZoomGeometry g;
    g.hBar.maximum = 291;
    g.mStepX = 10;
    EXPECT_FALSE(g.setHByPercent(-1));
    EXPECT_FALSE(g.setHByPercent(101));
    EXPECT_EQ(g.hBar.value, 0);
    EXPECT_TRUE(g.setHByPercent(50));
    EXPECT_EQ(g.hBar.value, 146);  // 145.5, halves to even
    EXPECT_EQ(g.canvasLeft, -1460);
    g.vBar.maximum = 0;
    for (qint16 p : {0, 50, 100, 32000})
        EXPECT_TRUE(g.setVByPercent(p) || p > 100);
    EXPECT_EQ(g.vBar.value, 0);
}

TEST(ZoomGeometry, DraggingFollowsThePointerWithinTheEdges)
{
    ZoomGeometry g;
    g.canvasWidth = 20000;
    g.canvasHeight = 20000;
    EXPECT_FALSE(g.mouseMove(false, 500, 500));  // no button held: nothing moves
    g.mouseDown(1000, 1000);
    g.mouseMove(true, 1500, 1200);  // to the right at the left edge: stays at 0
    EXPECT_EQ(g.canvasLeft, 0);
    EXPECT_EQ(g.canvasTop, 0);
    g.mouseMove(true, 400, 100);
    EXPECT_EQ(g.canvasLeft, -600);
    EXPECT_EQ(g.canvasTop, -900);
    g.mouseMove(true, -30000, -30000);  // the far edges hold
    EXPECT_EQ(g.canvasLeft, g.viewportInnerWidth() - 20000);
    EXPECT_EQ(g.canvasTop, g.viewportInnerHeight() - 20000);

    ZoomGeometry narrow;
    narrow.canvasWidth = 3000;
    narrow.mouseDown(100, 0);
    narrow.mouseMove(true, 50, 0);  // narrower than the view: against the right edge
    EXPECT_EQ(narrow.canvasLeft, narrow.viewportInnerWidth() - 3000);
}

TEST(ZoomGeometry, SixteenBitProductsOverflowInsteadOfWrapping)
{
    EXPECT_THROW(preview::toInteger(40000), std::overflow_error);
    // Except the canvas edge a bar sets: at 400 % a page reaches past 32767 twips.
    ZoomGeometry g = letterPage();
    g.mZoom = 4.0f;
    g.sizeForZoom();
    g.placeRedrawnCanvas();
    g.setupScrollBars();
    EXPECT_NO_THROW(g.setVValue(g.vBar.maximum));
    EXPECT_LT(g.canvasTop, -32768);
    EXPECT_EQ(preview::toInteger(2.5), 2);
    EXPECT_EQ(preview::roundToLong(-3.5), -4);
}
