#include "preview/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace preview {

qint32 roundToLong(double v)
{
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        throw std::overflow_error("Overflow");
    return static_cast<qint32>(r);
}

qint16 toInteger(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<qint16>::min() && r <= std::numeric_limits<qint16>::max()))
        throw std::overflow_error("Overflow");
    return static_cast<qint16>(r);
}

void ZoomGeometry::holderFromCanvas()
{
    holderWidth = canvasWidth;
    holderHeight = canvasHeight;
}

void ZoomGeometry::readNaturalSize()
{
    mOrigWidth = roundToLong(static_cast<double>(holderWidth - 2 * kHolderBorder) - 2);
    mOrigHeight = roundToLong(static_cast<double>(holderHeight - 2 * kHolderBorder) - 2);
}

bool ZoomGeometry::sizeForZoom()
{
    mCurWidth = static_cast<qint32>(std::floor(static_cast<double>(mOrigWidth) * static_cast<double>(mZoom)));
    mCurHeight = static_cast<qint32>(std::floor(static_cast<double>(mOrigHeight) * static_cast<double>(mZoom)));
    if (mCurWidth < kSizeLimit && mCurHeight < kSizeLimit)
        return true;
    mZoom = 1.0f;
    readNaturalSize();
    mCurWidth = mOrigWidth;
    mCurHeight = mOrigHeight;
    return false;
}

void ZoomGeometry::placeRedrawnCanvas()
{
    canvasWidth = mCurWidth;
    canvasHeight = mCurHeight;
    setHValue(0);
    setVValue(0);
    hBar.enabled = viewportInnerWidth() < mCurWidth;
    vBar.enabled = viewportInnerHeight() < mCurHeight;
}

void ZoomGeometry::setupBar(ScrollBar& bar, qint16& step, int canvas, int viewport)
{
    const float d = static_cast<float>(canvas) - static_cast<float>(viewport);
    if (canvas <= viewport) {
        bar.enabled = false;
        step = 0;
        return;
    }
    bar.enabled = true;
    if (d <= 100) {
        bar.maximum = toInteger(d);
        step = 1;
    } else {
        bar.maximum = toInteger(d / 10);
        step = 10;
    }
    bar.singleStep = std::max(1, kLineTwips / step);
    bar.pageStep = std::max(1, (viewport - kLineTwips) / step);
}

void ZoomGeometry::setupScrollBars()
{
    canvasTop = 0;
    canvasLeft = 0;
    setupBar(hBar, mStepX, canvasWidth, viewportInnerWidth());
    if (hBar.enabled)
        setHValue(0);
    setupBar(vBar, mStepY, canvasHeight, viewportInnerHeight());
    if (vBar.enabled)
        setVValue(0);
}

// A bar's change handler: the canvas edge goes to -(step x value), and only
// when the value changes. The product is not held to 16 bits: at 400 % a
// page is scrolled further than 32767 twips.
void ZoomGeometry::setBarValue(ScrollBar& bar, qint16 step, int& canvasEdge, int value)
{
    value = std::clamp(value, 0, bar.maximum);
    if (value == bar.value)
        return;
    bar.value = value;
    canvasEdge = -roundToLong(static_cast<double>(step) * value);
}

void ZoomGeometry::setHValue(int value) { setBarValue(hBar, mStepX, canvasLeft, value); }
void ZoomGeometry::setVValue(int value) { setBarValue(vBar, mStepY, canvasTop, value); }

float ZoomGeometry::steppedZoom(float zoom, qint32 direction) { return direction == 0 ? zoom + 0.25f : zoom - 0.25f; }

void ZoomGeometry::mouseDown(float x, float y)
{
    mDownX = x;
    mDownY = y;
}

bool ZoomGeometry::mouseMove(bool buttonHeld, float px, float py)
{
    if (!buttonHeld)
        return false;
    float x = static_cast<float>(canvasLeft) - mDownX + px;
    if (x > 0)
        x = 0;
    else if (static_cast<float>(viewportInnerWidth() - canvasWidth) > x)
        x = static_cast<float>(viewportInnerWidth() - canvasWidth);
    float y = static_cast<float>(canvasTop) - mDownY + py;
    if (y > 0)
        y = 0;
    else if (static_cast<float>(viewportInnerHeight() - canvasHeight) > y)
        y = static_cast<float>(viewportInnerHeight() - canvasHeight);
    canvasLeft = static_cast<int>(std::lround(x));
    canvasTop = static_cast<int>(std::lround(y));
    return true;
}

std::pair<qint32, qint32> ZoomGeometry::mouseUpValues() const
{
    const auto value = [](const ScrollBar& bar, qint16 step, int edge, int canvas, int inner) -> qint32 {
        if (canvas <= inner || step <= 0)
            return -1;
        return std::clamp(roundToLong(std::fabs(static_cast<double>(edge)) / step), 0, bar.maximum);
    };
    return {value(hBar, mStepX, canvasLeft, canvasWidth, viewportInnerWidth()),
            value(vBar, mStepY, canvasTop, canvasHeight, viewportInnerHeight())};
}

bool ZoomGeometry::setByPercent(ScrollBar& bar, qint16 step, int& canvasEdge, qint16 percent)
{
    if (percent < 0)
        return false;
    const double v = percent / 100.0 * bar.maximum;
    if (v > bar.maximum)
        return false;
    setBarValue(bar, step, canvasEdge, toInteger(v));
    return true;
}

bool ZoomGeometry::setHByPercent(qint16 percent) { return setByPercent(hBar, mStepX, canvasLeft, percent); }
bool ZoomGeometry::setVByPercent(qint16 percent) { return setByPercent(vBar, mStepY, canvasTop, percent); }

}  // namespace preview
