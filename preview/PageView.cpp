#include "preview/PageView.h"

#include "app/Guard.h"
#include "app/Labels.h"
#include "ui/Pointer.h"

#include <stdexcept>

namespace preview {

namespace {

[[noreturn]] void noSuchElement() { throw std::out_of_range("Control array element doesn't exist"); }

const platform::Picture& pictureOf(const PageView::Page& page)
{
    static const platform::Picture kNone;
    return page ? *page : kNone;
}

}  // namespace

PageView::PageView() : mImages(1) {}

PageView::Change::~Change()
{
    if (--mView.mDepth == 0 && mView.mOnChange)
        mView.mOnChange();
}

void PageView::pointer(int shape) const
{
    if (mPointer)
        mPointer(shape);
}

// ---- The run's pages ---------------------------------------------------------

void PageView::clearPages()
{
    Change c(*this);
    mNames.clear();
}

void PageView::addPage(const QString& name)
{
    Change c(*this);
    mNames.push_back(name);
}

void PageView::loadImage(int index)
{
    if (index >= static_cast<int>(mImages.size()))
        mImages.resize(static_cast<size_t>(index) + 1);
}

const PageView::Page& PageView::image(int index) const
{
    if (!hasImage(index))
        noSuchElement();
    return mImages[static_cast<size_t>(index)];
}

const platform::Picture& PageView::imagePicture(int index) const { return pictureOf(image(index)); }

void PageView::setImagePicture(int index, platform::Picture picture)
{
    image(index);  // only an element that exists
    Change c(*this);
    mImages[static_cast<size_t>(index)] = std::make_shared<const platform::Picture>(std::move(picture));
}

std::vector<PageView::Page> PageView::documentPages() const
{
    // Elements beyond the list are left from a longer earlier run.
    std::vector<Page> out;
    for (int k = 0; k < pageCount() && hasImage(k); ++k)
        out.push_back(mImages[static_cast<size_t>(k)] ? mImages[static_cast<size_t>(k)]
                                                      : std::make_shared<const platform::Picture>());
    return out;
}

// ---- What is on show ---------------------------------------------------------

const platform::Picture& PageView::holder() const { return pictureOf(mHolder); }

void PageView::awaitFirstActivation()
{
    Change c(*this);
    mFirstActivation = true;
}

// A picture assigned to the canvas replaces what was painted on it.
void PageView::assignToCanvas(const Page& page)
{
    mCanvas.picture = page;
    mCanvas.drawing.reset();
    if (mAutoSize && page && !page->isNull())
        mGeo.sizeCanvasTo(page->size);
}

void PageView::showImage(int index)
{
    Change c(*this);
    const Page& page = image(index);
    if (mAutoSize) {
        choosePage(index);
        return;
    }
    assignToCanvas(page);
    mCanvasImage = index;
}

void PageView::activate(app::Guard& g)
{
    Change c(*this);
    if (mFirstActivation) {
        // The canvas sizes itself to its picture from here on.
        g.step(104, [&] {
            mAutoSize = true;
            if (!pictureOf(mCanvas.picture).isNull())
                mGeo.sizeCanvasTo(mCanvas.picture->size);
        });
        g.step(108);  // the canvas paints a white background of its own
        // The page on the canvas becomes the one chosen: the holder takes its
        // size and picture, and the page is shown at its natural size, at
        // 100 % (steps 116 to 130; the holder is no control, so nothing is
        // hidden).
        g.step(118, [&] { mGeo.choosePage(); });
        g.step(122, [&] {
            mHolder = mCanvas.picture;
            mShown = mCanvasImage;
        });
        g.step(134, [&] { redraw(); });
        g.step(136, [&] { setupScrollBars(); });
    }
    g.step(138, [&] { mFirstActivation = false; });
}

void PageView::choosePage(int index)
{
    if (!hasImage(index))
        return;  // no picture for it: nothing to show
    Change c(*this);
    pointer(ui::vbHourglass);
    const Page page = image(index);
    mCanvas.picture = page;
    mCanvas.drawing.reset();
    if (!pictureOf(page).isNull())
        mGeo.sizeCanvasTo(page->size);
    mCanvasImage = index;
    mHolder = page;
    mShown = index;
    mGeo.choosePage();
    redraw();
    setupScrollBars();
    pointer(ui::vbDefault);
}

bool PageView::redraw()
{
    Change c(*this);
    app::Guard g(app::label::Form2_RedrawImage);
    g.step(100);
    bool fits = true;
    g.act([&] { fits = mGeo.sizeForZoom(); });
    g.step(104);
    if (!fits)
        return false;  // the zoom fell back to 1.0; what the canvas shows stays
    g.step(106, [&] {
        mCanvas.picture.reset();
        mCanvasImage = -1;
    });
    g.step(108, [&] { mGeo.fitCanvasToZoom(); });
    g.step(112, [&] {
        mCanvas.drawing = Drawing{mHolder, QRectF(0, 0, mGeo.zoomedWidth(), mGeo.zoomedHeight()),
                                  QRectF(0, 0, mGeo.naturalWidth(), mGeo.naturalHeight())};
    });
    g.step(114, [&] { pointer(ui::vbDefault); });
    g.step(116, [&] { mGeo.placeRedrawnCanvas(); });
    return true;
}

void PageView::setupScrollBars()
{
    Change c(*this);
    mGeo.setupScrollBars();
}

// ---- Zoom ------------------------------------------------------------------

void PageView::stepZoom(qint32 direction)
{
    Change c(*this);
    if (direction == 0 ? mGeo.zoomIn() : mGeo.zoomOut())
        redrawZoomed();
}

void PageView::setZoom(float zoom)
{
    Change c(*this);
    if (mGeo.setZoom(zoom))
        redrawZoomed();
}

void PageView::redrawZoomed()
{
    // The bars are set up for the zoomed canvas, so that every part of the
    // page can be reached at every zoom.
    if (redraw())
        setupScrollBars();
}

// ---- Scroll bars and panning -------------------------------------------------

void PageView::scrollTo(Axis axis, int value)
{
    Change c(*this);
    mGeo.setBarValue(axis, value);
}

void PageView::snapBar(Axis axis, int value)
{
    Change c(*this);
    mGeo.snapBar(axis, value);
}

bool PageView::setBarByPercent(Axis axis, qint16 percent)
{
    Change c(*this);
    return mGeo.setBarByPercent(axis, percent);
}

void PageView::beginDrag(float x, float y) { mGeo.beginDrag(x, y); }

bool PageView::moveDrag(bool buttonHeld, float x, float y)
{
    Change c(*this);
    return mGeo.moveDrag(buttonHeld, x, y);
}

void PageView::resizeViewport(int width, int height)
{
    Change c(*this);
    mGeo.resizeViewport(width, height);
}

}  // namespace preview
