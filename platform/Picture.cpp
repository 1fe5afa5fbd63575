#include "platform/Picture.h"

#include "platform/Units.h"

#include <QPainter>

#include <cmath>

namespace platform {

Picture::Glyphs::Glyphs(QPointF origin, const QGlyphRun& run, QColor colour, bool embolden)
    : origin(origin), colour(colour), embolden(embolden), mFont(run.rawFont()), mFlags(run.flags())
{
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    const qsizetype n = std::min(indexes.size(), positions.size());
    mIndexes.assign(indexes.begin(), indexes.begin() + n);
    mX.reserve(static_cast<size_t>(n));
    mBaseline = n > 0 ? static_cast<float>(positions[0].y()) : 0;
    for (qsizetype i = 0; i < n; ++i) {
        mX.push_back(static_cast<float>(positions[i].x()));
        const auto y = static_cast<float>(positions[i].y());
        if (mY.empty() && y != mBaseline)  // the first glyph off the baseline: from here on each keeps its y
            mY.assign(static_cast<size_t>(i), mBaseline);
        if (!mY.empty())
            mY.push_back(y);
    }
}

QGlyphRun Picture::Glyphs::run() const
{
    QList<QPointF> positions;
    positions.reserve(count());
    for (size_t i = 0; i < mX.size(); ++i)
        positions.append(QPointF(mX[i], mY.empty() ? mBaseline : mY[i]));
    QGlyphRun run;
    run.setRawFont(mFont);
    run.setGlyphIndexes(QList<quint32>(mIndexes.begin(), mIndexes.end()));
    run.setPositions(positions);
    run.setFlags(mFlags);
    return run;
}

qint64 Picture::Glyphs::memoryBytes() const
{
    return static_cast<qint64>(sizeof(Glyphs) + mIndexes.capacity() * sizeof(quint32)
                               + (mX.capacity() + mY.capacity()) * sizeof(float));
}

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
            const QGlyphRun run = g.run();
            p.drawGlyphRun(g.origin, run);
            if (g.embolden)  // a second pass a hair to the right thickens every stroke
                p.drawGlyphRun(g.origin + QPointF(g.font().pixelSize() / 30.0, 0), run);
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
        n += g.memoryBytes();
    return n;
}

}  // namespace platform
