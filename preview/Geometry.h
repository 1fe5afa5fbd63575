#pragma once

#include <QtGlobal>
#include <utility>

namespace preview {

// Rounding to the nearest integer, halves to even, and the 16-bit conversion
// that overflows rather than wraps.
qint32 roundToLong(double v);
qint16 toInteger(double v);

// The zoom, scroll and pan arithmetic of the preview window, in twips and
// with no widgets: the window applies what this computes. The members keep
// their designed names and widths (mZoom single precision, the steps 16-bit).
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

    struct ScrollBar {
        bool enabled = true;
        int maximum = 32767;  // the platform's default until the first setup
        int value = 0;
        int singleStep = 1;  // an arrow: about a line
        int pageStep = 10;  // a click in the trough: about a viewport
    };

    // The viewport (`Picture2`) and its inner, drawable size.
    int viewportWidth = 9330;
    int viewportHeight = 7305;
    int viewportInnerWidth() const { return viewportWidth - 2 * kViewportBorder; }
    int viewportInnerHeight() const { return viewportHeight - 2 * kViewportBorder; }

    // The canvas (`Picture1`) inside the viewport, and the hidden holder (`Zoom_Ori`).
    int canvasLeft = 0, canvasTop = 0, canvasWidth = 2340, canvasHeight = 3435;
    int holderWidth = 735, holderHeight = 375;

    ScrollBar hBar, vBar;

    float mZoom = 0;
    qint32 mOrigWidth = 0, mOrigHeight = 0;
    qint32 mCurWidth = 0, mCurHeight = 0;
    qint16 mStepX = 0, mStepY = 0;
    float mDownX = 0, mDownY = 0;

    // The holder takes the canvas's size; the natural size is read from its inner size.
    void holderFromCanvas();
    void readNaturalSize();

    // The first part of redrawing: the size at the current zoom. False when
    // it reaches the size limit; the zoom has then fallen back to 1.0 and
    // nothing is to be painted.
    bool sizeForZoom();
    // The rest, once painted: the canvas takes the new size, both bars go
    // back to 0 and are enabled only when the canvas is larger than the view.
    void placeRedrawnCanvas();

    // Both bars set up for the canvas as it is now (a chosen page, or a zoom
    // step), against the viewport's inner size: every edge can be reached.
    void setupScrollBars();
    // A bar's value, as its change handler applies it (only when it changes).
    void setHValue(int value);
    void setVValue(int value);

    // New zoom for a step (0 in, anything else out); whether it is allowed.
    static float steppedZoom(float zoom, qint32 direction);
    static bool zoomAllowed(float zoom) { return zoom >= kMinZoom && zoom <= kMaxZoom; }

    void mouseDown(float x, float y);
    // Returns false when nothing is to move (no button held).
    bool mouseMove(bool buttonHeld, float x, float y);
    // The bar values that match where a drag left the canvas; -1 where a bar
    // is not concerned (the canvas fits the view that way).
    std::pair<qint32, qint32> mouseUpValues() const;
    // Sets a bar from a percentage of its maximum; false when left unchanged.
    bool setHByPercent(qint16 percent);
    bool setVByPercent(qint16 percent);

private:
    void setupBar(ScrollBar& bar, qint16& step, int canvas, int viewport);
    static void setBarValue(ScrollBar& bar, qint16 step, int& canvasEdge, int value);
    static bool setByPercent(ScrollBar& bar, qint16 step, int& canvasEdge, qint16 percent);
};

}  // namespace preview
