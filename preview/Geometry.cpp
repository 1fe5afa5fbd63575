#include "preview/Geometry.h"

#include "automation/Value.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace preview {

namespace {
template <class Int> Int roundedOrOverflow(double v)
{
    const std::optional<Int> i = automation::roundedTo<Int>(v);
    if (!i)
        throw std::overflow_error("Overflow");
    return *i;
}
}  // namespace

qint32 roundToLong(double v) { return roundedOrOverflow<qint32>(v); }

qint16 toInteger(double v) { return roundedOrOverflow<qint16>(v); }

void ZoomGeometry::resizeViewport(int width, int height)
{
    if (width == mViewportWidth && height == mViewportHeight)
        return;
    mViewportWidth = width;
    mViewportHeight = height;
    if (mZoom <= 0)
        return;  // no page has been shown yet: the first setup sets the bars
    // A window resized: the bars reach the canvas's edges in the new view at
    // once, and the canvas stays where it was as far as it can.
    const auto refit = [this](Axis which, int canvasSize, int viewport) {
        const AxisState a = axis(which);
        const int edge = a.canvasEdge;
        setupBar(a.bar, a.step, canvasSize, viewport);
        if (!a.bar.enabled) {
            a.bar.value = 0;
            a.canvasEdge = 0;
            return;
        }
        a.bar.value = -1;  // no value a bar can take: the edge follows the new one
        setBarValue(a.bar, a.step, a.canvasEdge, roundToLong(-static_cast<double>(edge) / a.step));
    };
    refit(Axis::Horizontal, mCanvas.width, viewportInnerWidth());
    refit(Axis::Vertical, mCanvas.height, viewportInnerHeight());
}

void ZoomGeometry::sizeCanvasTo(const QSizeF& picture)
{
    mCanvas.width = static_cast<int>(std::lround(picture.width()));
    mCanvas.height = static_cast<int>(std::lround(picture.height()));
}

void ZoomGeometry::choosePage()
{
    mHolderWidth = mCanvas.width;
    mHolderHeight = mCanvas.height;
    resetToNaturalSize();
}

void ZoomGeometry::resetToNaturalSize()
{
    mZoom = 1.0f;
    mNaturalWidth = roundToLong(static_cast<double>(mHolderWidth - 2 * kHolderBorder) - 2);
    mNaturalHeight = roundToLong(static_cast<double>(mHolderHeight - 2 * kHolderBorder) - 2);
    mZoomedWidth = mNaturalWidth;
    mZoomedHeight = mNaturalHeight;
}

bool ZoomGeometry::setZoom(float zoom)
{
    if (!(zoom >= kMinZoom && zoom <= kMaxZoom))
        return false;
    mZoom = zoom;
    return true;
}

bool ZoomGeometry::zoomIn() { return setZoom(mZoom + 0.25f); }
bool ZoomGeometry::zoomOut() { return setZoom(mZoom - 0.25f); }

bool ZoomGeometry::sizeForZoom()
{
    mZoomedWidth = static_cast<qint32>(std::floor(static_cast<double>(mNaturalWidth) * static_cast<double>(mZoom)));
    mZoomedHeight = static_cast<qint32>(std::floor(static_cast<double>(mNaturalHeight) * static_cast<double>(mZoom)));
    if (mZoomedWidth < kSizeLimit && mZoomedHeight < kSizeLimit)
        return true;
    resetToNaturalSize();
    return false;
}

void ZoomGeometry::fitCanvasToZoom()
{
    mCanvas.width = mZoomedWidth;
    mCanvas.height = mZoomedHeight;
}

void ZoomGeometry::placeRedrawnCanvas()
{
    fitCanvasToZoom();
    setBarValue(Axis::Horizontal, 0);
    setBarValue(Axis::Vertical, 0);
    mHBar.enabled = viewportInnerWidth() < mZoomedWidth;
    mVBar.enabled = viewportInnerHeight() < mZoomedHeight;
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
    mCanvas.top = 0;
    mCanvas.left = 0;
    setupBar(mHBar, mStepX, mCanvas.width, viewportInnerWidth());
    if (mHBar.enabled)
        setBarValue(Axis::Horizontal, 0);
    setupBar(mVBar, mStepY, mCanvas.height, viewportInnerHeight());
    if (mVBar.enabled)
        setBarValue(Axis::Vertical, 0);
}

ZoomGeometry::AxisState ZoomGeometry::axis(Axis which)
{
    if (which == Axis::Horizontal)
        return {mHBar, mStepX, mCanvas.left};
    return {mVBar, mStepY, mCanvas.top};
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

void ZoomGeometry::setBarValue(Axis which, int value)
{
    const AxisState a = axis(which);
    setBarValue(a.bar, a.step, a.canvasEdge, value);
}

void ZoomGeometry::snapBar(Axis which, int value)
{
    const AxisState a = axis(which);
    a.bar.value = -1;  // no value a bar can take: the change always applies
    setBarValue(a.bar, a.step, a.canvasEdge, value);
}

bool ZoomGeometry::setBarByPercent(Axis which, qint16 percent)
{
    const AxisState a = axis(which);
    if (percent < 0)
        return false;
    const double v = percent / 100.0 * a.bar.maximum;
    if (v > a.bar.maximum)
        return false;
    setBarValue(a.bar, a.step, a.canvasEdge, toInteger(v));
    return true;
}

void ZoomGeometry::returnToTopLeft()
{
    mCanvas.left = mCanvas.top = 0;
    mHBar.value = mVBar.value = 0;
}

void ZoomGeometry::beginDrag(float x, float y)
{
    mDownX = x;
    mDownY = y;
}

bool ZoomGeometry::moveDrag(bool buttonHeld, float px, float py)
{
    if (!buttonHeld)
        return false;
    float x = static_cast<float>(mCanvas.left) - mDownX + px;
    if (x > 0)
        x = 0;
    else if (static_cast<float>(viewportInnerWidth() - mCanvas.width) > x)
        x = static_cast<float>(viewportInnerWidth() - mCanvas.width);
    float y = static_cast<float>(mCanvas.top) - mDownY + py;
    if (y > 0)
        y = 0;
    else if (static_cast<float>(viewportInnerHeight() - mCanvas.height) > y)
        y = static_cast<float>(viewportInnerHeight() - mCanvas.height);
    mCanvas.left = static_cast<int>(std::lround(x));
    mCanvas.top = static_cast<int>(std::lround(y));
    return true;
}

std::pair<qint32, qint32> ZoomGeometry::endDrag() const
{
    const auto value = [](const ScrollBar& bar, qint16 step, int edge, int canvas, int inner) -> qint32 {
        if (canvas <= inner || step <= 0)
            return -1;
        return std::clamp(roundToLong(std::fabs(static_cast<double>(edge)) / step), 0, bar.maximum);
    };
    return {value(mHBar, mStepX, mCanvas.left, mCanvas.width, viewportInnerWidth()),
            value(mVBar, mStepY, mCanvas.top, mCanvas.height, viewportInnerHeight())};
}

}  // namespace preview
