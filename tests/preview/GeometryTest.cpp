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
    const ZoomGeometry g = letterPage();
    EXPECT_EQ(g.mOrigWidth, 12240 - 60 - 2);
    EXPECT_EQ(g.mOrigHeight, 15840 - 60 - 2);
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
    edge.holderWidth = 5062;
    edge.holderHeight = 3062;
    EXPECT_FALSE(edge.sizeForZoom());
    EXPECT_EQ(edge.mZoom, 1.0f);
    EXPECT_EQ(edge.mOrigWidth, 5000);  // read again from the holder
    EXPECT_EQ(edge.mCurWidth, 5000);
    EXPECT_EQ(edge.mCurHeight, 3000);
}

TEST(ZoomGeometry, ScrollBarsFollowTheCanvasOverhang)
{
    ZoomGeometry g;
    g.canvasWidth = g.viewportWidth + 50;
    g.canvasHeight = g.viewportHeight + 2910;
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

    ZoomGeometry exact;
    exact.canvasWidth = exact.viewportWidth;
    exact.setupScrollBars();
    EXPECT_FALSE(exact.hBar.enabled);
    EXPECT_EQ(exact.mStepX, 0);
    EXPECT_EQ(exact.mouseUpPercents().first, -1);  // the bar is left alone
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
    // A drag to the far edge is over 100 % on the outer size: that bar stays.
    const auto [px, py] = g.mouseUpPercents();
    EXPECT_GT(px, 100);
    g.hBar.maximum = 1067;
    EXPECT_FALSE(g.setHByPercent(static_cast<qint16>(px)));

    ZoomGeometry narrow;
    narrow.canvasWidth = 3000;
    narrow.mouseDown(100, 0);
    narrow.mouseMove(true, 50, 0);  // narrower than the view: against the right edge
    EXPECT_EQ(narrow.canvasLeft, narrow.viewportInnerWidth() - 3000);
}

TEST(ZoomGeometry, SixteenBitProductsOverflowInsteadOfWrapping)
{
    EXPECT_THROW(preview::toInteger(40000), std::overflow_error);
    EXPECT_EQ(preview::toInteger(2.5), 2);
    EXPECT_EQ(preview::roundToLong(-3.5), -4);
}
