#include "preview/PictureControl.h"

#include "platform/Units.h"

#include <QMouseEvent>
#include <QPainter>

namespace preview {

namespace {
constexpr qreal kTwips = platform::units::kTwipsPerPixel;
QRectF toPixels(const QRectF& twips)
{
    return QRectF(twips.x() / kTwips, twips.y() / kTwips, twips.width() / kTwips, twips.height() / kTwips);
}
}  // namespace

PictureControl::PictureControl(QWidget* parent) : app::PictureBox(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PictureControl::setPicture(const platform::Picture& picture)
{
    // A picture assigned replaces what was painted on the control: a new
    // run's page 1 must not be covered by the last run's drawing.
    mDrawing.reset();
    mPicture = picture;
    if (mAutoSize && !picture.isNull())
        setSizeTwips(static_cast<int>(std::lround(picture.size.width())),
                     static_cast<int>(std::lround(picture.size.height())));
    update();
}

void PictureControl::paintPicture(const platform::Picture& picture, const QRectF& target, const QRectF& source)
{
    mDrawing = Drawing{picture, target, source};
    update();
}

void PictureControl::clearDrawing()
{
    mDrawing.reset();
    update();
}

int PictureControl::widthTwips() const { return platform::units::pixelsToTwips(width()); }
int PictureControl::heightTwips() const { return platform::units::pixelsToTwips(height()); }

void PictureControl::setSizeTwips(int width, int height)
{
    resize(platform::units::twipsToPixels(width), platform::units::twipsToPixels(height));
}

void PictureControl::moveTwips(int left, int top)
{
    move(platform::units::twipsToPixels(left), platform::units::twipsToPixels(top));
}

void PictureControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!mPicture.isNull())
        mPicture.paint(p, toPixels(QRectF(QPointF(0, 0), mPicture.size)));
    if (mDrawing) {
        if (mDrawing->picture.isNull())
            p.fillRect(toPixels(mDrawing->target), Qt::white);
        else
            mDrawing->picture.paint(p, toPixels(mDrawing->target), mDrawing->source);
    }
}

void PictureControl::mousePressEvent(QMouseEvent* e)
{
    emit mouseDown(static_cast<float>(e->position().x() * kTwips), static_cast<float>(e->position().y() * kTwips));
}

void PictureControl::mouseMoveEvent(QMouseEvent* e)
{
    emit mouseMove(e->buttons() != Qt::NoButton, static_cast<float>(e->position().x() * kTwips),
                   static_cast<float>(e->position().y() * kTwips));
}

void PictureControl::mouseReleaseEvent(QMouseEvent* e)
{
    emit mouseUp(static_cast<float>(e->position().x() * kTwips), static_cast<float>(e->position().y() * kTwips));
}

}  // namespace preview
