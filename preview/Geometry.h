#pragma once

#include <QSizeF>
#include <QtGlobal>
#include <utility>

namespace preview {

// Rounding to the nearest integer, halves to even, and the 16-bit conversion
// that overflows rather than wraps.
qint32 roundToLong(double v);
qint16 toInteger(double v);

// The zoom, scroll and pan state of the preview window, in twips and with no
// widgets. The window changes it only through the verbs below and applies
// what the getters then say: the canvas rectangle and both bars. The members
// keep their designed widths (mZoom single precision, the steps 16-bit), so
// that every rounding and overflow stays as designed.
class ZoomGeometry {
public:
    // The viewport's 3-D border is two pixels on every side. The canvas and
    // the holder are plain boxes: the holder's inner size is the page's.
    static constexpr int kViewportBorder = 30;
    static constexpr int kHolderBorder = 0;
    // What an arrow of a scroll bar moves: about a line of text.
    static constexpr int kLineTwips = 240;
    // A canvas this wide or high (or more) is not drawn. Large enough for a
    // Letter or A4 page at every zoom step up to 400 %.
    static constexpr int kSizeLimit = 70000;
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 4.0f;

    enum class Axis { Horizontal, Vertical };

    struct ScrollBar {
        bool enabled = true;
        int maximum = 32767;  // the platform's default until the first setup
        int value = 0;
        int singleStep = 1;  // an arrow: about a line
        int pageStep = 10;  // a click in the trough: about a viewport
    };

    // The canvas (`Picture1`) inside the viewport.
    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
    };

    // ---- What the window applies ---------------------------------------------

    const Rect& canvas() const { return mCanvas; }
    const ScrollBar& hBar() const { return mHBar; }
    const ScrollBar& vBar() const { return mVBar; }
    // Twips per unit of a bar's value.
    qint16 stepX() const { return mStepX; }
    qint16 stepY() const { return mStepY; }

    float zoom() const { return mZoom; }
    // The page's size in the holder at 100 %, and at the current zoom.
    qint32 naturalWidth() const { return mNaturalWidth; }
    qint32 naturalHeight() const { return mNaturalHeight; }
    qint32 zoomedWidth() const { return mZoomedWidth; }
    qint32 zoomedHeight() const { return mZoomedHeight; }

    // The viewport's (`Picture2`) drawable size.
    int viewportInnerWidth() const { return mViewportWidth - 2 * kViewportBorder; }
    int viewportInnerHeight() const { return mViewportHeight - 2 * kViewportBorder; }

    // ---- Verbs -------------------------------------------------------------------

    // The viewport's outer size. Once a page is on show, the bars follow at
    // once, keeping the canvas where it was as far as they can.
    void resizeViewport(int width, int height);

    // The canvas sizes itself to a picture assigned to it (its size in twips).
    void sizeCanvasTo(const QSizeF& picture);
    // The page now on the canvas is the one chosen: the holder takes the
    // canvas's size and the page is shown at its natural size.
    void choosePage();

    // A new zoom, when it lies within the limits; false (and nothing changed)
    // otherwise. Each step is a quarter.
    bool setZoom(float zoom);
    bool zoomIn();
    bool zoomOut();

    // The first part of redrawing: the size at the current zoom. False when
    // it reaches the size limit; the page is then back at its natural size
    // and nothing is to be painted.
    bool sizeForZoom();
    // The canvas takes the size at the current zoom.
    void fitCanvasToZoom();
    // The rest, once painted: the canvas takes the new size, both bars go
    // back to 0 and are enabled only when the canvas is larger than the view.
    void placeRedrawnCanvas();

    // Both bars set up for the canvas as it is now (a chosen page, or a zoom
    // step), against the viewport's inner size: every edge can be reached.
    void setupScrollBars();
    // A bar's value, as its change handler applies it: the canvas moves only
    // when the value changes.
    void setBarValue(Axis axis, int value);
    // A bar's value set again even when it is the same: the canvas follows.
    void snapBar(Axis axis, int value);
    // Sets a bar from a percentage of its maximum; false when left unchanged.
    bool setBarByPercent(Axis axis, qint16 percent);
    // A new run's page is shown from its top left, whatever the last one was
    // scrolled to.
    void returnToTopLeft();

    // Panning with the mouse: where the button went down on the canvas, and
    // each move (false when nothing is to move: no button held).
    void beginDrag(float x, float y);
    bool moveDrag(bool buttonHeld, float x, float y);
    // The bar values that match where a drag left the canvas; -1 where a bar
    // is not concerned (the canvas fits the view that way).
    std::pair<qint32, qint32> endDrag() const;

private:
    // The one way back to 100 %: the zoom, the natural size read from the
    // holder, and the page at that size.
    void resetToNaturalSize();
    void setupBar(ScrollBar& bar, qint16& step, int canvas, int viewport);
    static void setBarValue(ScrollBar& bar, qint16 step, int& canvasEdge, int value);

    struct AxisState {
        ScrollBar& bar;
        qint16& step;
        int& canvasEdge;
    };
    AxisState axis(Axis which);

    int mViewportWidth = 9330;
    int mViewportHeight = 7305;
    Rect mCanvas{0, 0, 2340, 3435};
    // The holder of the page at its natural size.
    int mHolderWidth = 735, mHolderHeight = 375;
    ScrollBar mHBar, mVBar;

    float mZoom = 0;
    qint32 mNaturalWidth = 0, mNaturalHeight = 0;
    qint32 mZoomedWidth = 0, mZoomedHeight = 0;
    qint16 mStepX = 0, mStepY = 0;
    float mDownX = 0, mDownY = 0;
};

}  // namespace preview
