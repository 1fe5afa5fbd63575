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

// A frame in the highlight colour just inside `area`, whether the focus came
// by Tab or by a click (the style's own frame shows only after a Tab).
void paintFocus(QWidget* w, QPainter& p, const QRect& area)
{
    QPen pen(w->palette().color(QPalette::Active, QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
}

}  // namespace

PictureControl::PictureControl(QWidget* parent) : ui::PictureBox(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PictureControl::show(const PageView::Canvas& canvas)
{
    const auto same = [](const std::optional<PageView::Drawing>& a, const std::optional<PageView::Drawing>& b) {
        return a.has_value() == b.has_value()
               && (!a || (a->picture == b->picture && a->target == b->target && a->source == b->source));
    };
    if (canvas.picture == mCanvas.picture && same(canvas.drawing, mCanvas.drawing))
        return;  // a drag or a scroll: the canvas moves, what it shows stays
    mCanvas = canvas;
    update();
}

void PictureControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (mCanvas.picture && !mCanvas.picture->isNull())
        mCanvas.picture->paint(p, toPixels(QRectF(QPointF(0, 0), mCanvas.picture->size)));
    if (const auto& drawing = mCanvas.drawing) {
        if (!drawing->picture || drawing->picture->isNull())
            p.fillRect(toPixels(drawing->target), Qt::white);
        else
            drawing->picture->paint(p, toPixels(drawing->target), drawing->source);
    }
    if (hasFocus())
        paintFocus(this, p, visibleRegion().boundingRect());
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

void ViewportBox::paintEvent(QPaintEvent* event)
{
    ui::PictureBox::paintEvent(event);
    if (hasFocus()) {
        QPainter p(this);
        paintFocus(this, p, rect());  // on the frame: the canvas covers the inside
    }
}

void FocusScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (hasFocus()) {
        QPainter p(this);
        paintFocus(this, p, rect());
    }
}

}  // namespace preview
