#include "platform/Picture.h"

#include "platform/Units.h"

#include <QPainter>

#include <cmath>

namespace platform {

void Picture::paint(QPainter& p, const QRectF& target) const { paint(p, target, QRectF(QPointF(0, 0), size)); }

void Picture::paint(QPainter& p, const QRectF& target, const QRectF& source) const
{
    if (isNull() || source.isEmpty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(target.topLeft());
    p.scale(target.width() / source.width(), target.height() / source.height());
    p.translate(-source.topLeft());
    p.setClipRect(source, Qt::IntersectClip);
    if (!raster.isNull()) {
        p.drawImage(QRectF(QPointF(0, 0), size), raster);
    } else {
        p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
        for (const Fill& f : fills)
            p.fillRect(f.rect, f.colour);
        for (const Glyphs& g : glyphs) {
            p.setPen(g.colour);
            p.drawGlyphRun(g.origin, g.run);
            if (g.embolden)  // a second pass a hair to the right thickens every stroke
                p.drawGlyphRun(g.origin + QPointF(g.run.rawFont().pixelSize() / 30.0, 0), g.run);
        }
    }
    p.restore();
}

Picture Picture::fromImage(const QImage& image)
{
    Picture pic;
    pic.raster = image;
    // Its own resolution when it has one, otherwise the screen's 96 dpi.
    const double dpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96;
    const double dpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * 0.0254 : 96;
    pic.size = QSizeF(image.width() * units::kTwipsPerInch / dpiX, image.height() * units::kTwipsPerInch / dpiY);
    return pic;
}

QImage Picture::toImage(double dpi) const
{
    const QSize pixels(std::max(1, static_cast<int>(std::lround(size.width() * dpi / units::kTwipsPerInch))),
                       std::max(1, static_cast<int>(std::lround(size.height() * dpi / units::kTwipsPerInch))));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    QPainter p(&image);
    paint(p, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

qint64 Picture::memoryBytes() const
{
    qint64 n = sizeof(*this) + static_cast<qint64>(fills.size() * sizeof(Fill)) + raster.sizeInBytes();
    for (const Glyphs& g : glyphs)
        n += static_cast<qint64>(sizeof(Glyphs)) + g.run.glyphIndexes().size() * (sizeof(quint32) + sizeof(QPointF));
    return n;
}

}  // namespace platform
