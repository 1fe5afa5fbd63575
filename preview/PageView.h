#pragma once

#include "platform/Picture.h"
#include "preview/Geometry.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace app {
class Guard;
}

namespace preview {

// What the preview shows, kept in one place and with no widgets: the run's
// pages and their names in the page list, the page on show (the holder, from
// which every zoom is drawn), what the canvas shows, and the zoom, the bars
// and the drag. The window calls the verbs and, told of a change, sets every
// widget from here in one pass; it keeps no copy of any of it.
//
// Each page picture exists once and is shared by the page array, the holder
// and the canvas.
class PageView {
public:
    using Page = std::shared_ptr<const platform::Picture>;
    using Axis = ZoomGeometry::Axis;

    // What the canvas shows: a picture assigned to it, at its natural size,
    // and over it what was painted on it, which stays until the next paint or
    // assignment (an empty picture paints white).
    struct Drawing {
        Page picture;
        QRectF target, source;  // twips of the canvas, twips of the picture
    };
    struct Canvas {
        Page picture;
        std::optional<Drawing> drawing;
    };

    PageView();

    // Told once after every verb, when the verb and everything it called are
    // done: the window then shows what the view says.
    void setOnChange(std::function<void()> onChange) { mOnChange = std::move(onChange); }
    // The window's pointer: the hourglass while a page is being chosen.
    void setPointer(std::function<void(int shape)> pointer) { mPointer = std::move(pointer); }

    // ---- The run's pages, as document generation fills them -------------------

    void clearPages();  // the list only: the pictures stay until replaced
    int pageCount() const { return static_cast<int>(mNames.size()); }
    const QString& pageName(int index) const { return mNames.at(static_cast<size_t>(index)); }
    void addPage(const QString& name);
    // The page pictures: element 0 always exists, further ones are created
    // on demand and kept from one run to the next; a missing one throws
    // std::out_of_range.
    bool hasImage(int index) const { return index >= 0 && index < static_cast<int>(mImages.size()); }
    void loadImage(int index);
    const platform::Picture& imagePicture(int index) const;
    void setImagePicture(int index, platform::Picture picture);
    // The pages of the document: the pictures of the pages the list names.
    std::vector<Page> documentPages() const;

    // ---- What is on show --------------------------------------------------

    // The list's index of the page in the holder; -1 when none is.
    int pageOnShow() const { return mShown; }
    // The page on show at its natural size; an empty one paints white.
    const platform::Picture& holder() const;
    const Canvas& canvas() const { return mCanvas; }
    const ZoomGeometry& geometry() const { return mGeo; }
    bool firstActivationPending() const { return mFirstActivation; }

    // ---- Verbs --------------------------------------------------------------

    // The window is loaded: its first activation is still to come.
    void awaitFirstActivation();
    // Element `index` is assigned to the canvas, shown at its own size (a
    // run's page 1). Once the window has been shown, it is a new run's page:
    // it becomes the page on show, chosen as the user would choose it, so
    // that every zoom and copy is of it.
    void showImage(int index);
    // The first activation's steps, under the window's guard.
    void activate(app::Guard& g);
    // A page chosen in the list: shown at 100 % from its top left.
    void choosePage(int index);
    // Redraws the canvas from the holder at the zoom, under its own guard;
    // false when the size limit sent the zoom back to 1.0 and nothing was drawn.
    bool redraw();
    void setupScrollBars();
    // 0 zooms in, anything else out; each step is a quarter.
    void stepZoom(qint32 direction);
    void setZoom(float zoom);

    // A bar's value, as its change handler takes it.
    void scrollTo(Axis axis, int value);
    // A bar's value set again after a drag: the canvas follows even when the
    // value is the same.
    void snapBar(Axis axis, int value);
    // False when the bar is left as it was.
    bool setBarByPercent(Axis axis, qint16 percent);
    void beginDrag(float x, float y);
    bool moveDrag(bool buttonHeld, float x, float y);
    std::pair<qint32, qint32> endDrag() const { return mGeo.endDrag(); }

    // The viewport's outer size, in twips (the window was resized).
    void resizeViewport(int width, int height);

private:
    // Reports the change when the outermost verb returns.
    class Change {
    public:
        explicit Change(PageView& view) : mView(view) { ++mView.mDepth; }
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        PageView& mView;
    };

    const Page& image(int index) const;
    void assignToCanvas(const Page& page);
    void redrawZoomed();
    void pointer(int shape) const;

    std::vector<QString> mNames;
    std::vector<Page> mImages;
    Page mHolder;
    int mShown = -1;
    Canvas mCanvas;
    int mCanvasImage = -1;  // the element assigned to the canvas, while it shows one
    // The canvas sizes itself to a picture assigned to it once the first
    // activation has set it so.
    bool mAutoSize = false;
    bool mFirstActivation = false;
    ZoomGeometry mGeo;

    std::function<void()> mOnChange;
    std::function<void(int)> mPointer;
    int mDepth = 0;
};

}  // namespace preview
