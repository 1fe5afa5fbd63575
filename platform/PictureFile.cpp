// The picture's own file format: a vector page as its fills and glyph runs,
// an image as PNG; reading takes an ordinary image file as well.
#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QDataStream>
#include <QFont>
#include <QHash>
#include <QImageReader>
#include <QRawFont>

#include <cmath>
#include <stdexcept>

namespace platform {

namespace {
constexpr quint32 kMagic = 0x43565047;  // "CVPG"
constexpr quint32 kVersion = 1;
// What a damaged or hostile picture may claim before it is refused: well
// above any real page, far below what would exhaust memory.
constexpr quint32 kMostFills = 100000;
constexpr quint32 kMostGlyphRuns = 1000000;
// A side longer than this many twips (about 17 m) is no page of ours.
constexpr double kLongestSide = 1e6;
}  // namespace

QByteArray Picture::save() const
{
    if (!raster.isNull()) {  // an image is kept as an image
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        raster.save(&buffer, "PNG");
        return png;
    }
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_0);
    s << kMagic << kVersion << size << quint32(fills.size());
    for (const Fill& f : fills)
        s << f.rect << f.colour.rgba();
    s << quint32(glyphs.size());
    for (const Glyphs& g : glyphs) {
        const QRawFont& font = g.font();
        const QGlyphRun run = g.run();
        s << g.origin << g.colour.rgba() << font.familyName() << font.styleName() << font.pixelSize()
          << qint32(font.weight()) << qint32(font.style()) << bool(run.underline()) << bool(run.overline())
          << bool(run.strikeOut()) << g.embolden << run.glyphIndexes() << run.positions();
    }
    return out;
}

namespace {

// A list of n items of `size` bytes each, refused when the data can't hold it
// (a damaged count must not make us reserve gigabytes).
template <class T> bool readList(QDataStream& s, QList<T>& out, qint64 size)
{
    quint32 n = 0;
    s >> n;
    if (s.status() != QDataStream::Ok || static_cast<qint64>(n) * size > s.device()->bytesAvailable())
        return false;
    out.resize(n);
    for (T& item : out)
        s >> item;
    return s.status() == QDataStream::Ok;
}

// A page uses a few fonts over and over; each is looked up once.
QRawFont cachedFont(QHash<QString, QRawFont>& fonts, const QString& family, const QString& style, qreal pixelSize,
                    qint32 weight, qint32 italic)
{
    const QString key = QStringLiteral("%1/%2/%3/%4/%5").arg(family, style).arg(pixelSize).arg(weight).arg(italic);
    auto font = fonts.find(key);
    if (font == fonts.end()) {
        QFont f(family);
        f.setStyleName(style);
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
        f.setWeight(static_cast<QFont::Weight>(weight));
        f.setStyle(static_cast<QFont::Style>(italic));
        f.setHintingPreference(QFont::PreferNoHinting);
        QRawFont raw = QRawFont::fromFont(f);
        raw.setPixelSize(pixelSize);
        font = fonts.insert(key, raw);
    }
    return *font;
}

// One glyph run of a page picture, its font among `fonts`.
Picture::Glyphs readGlyphs(QDataStream& s, QHash<QString, QRawFont>& fonts)
{
    QPointF origin;
    bool embolden = false;
    QRgb rgba = 0;
    QString family, style;
    qreal pixelSize = 0;
    qint32 weight = 0, italic = 0;
    bool underline = false, overline = false, strike = false;
    QList<quint32> indexes;
    QList<QPointF> positions;
    s >> origin >> rgba >> family >> style >> pixelSize >> weight >> italic >> underline >> overline >> strike
        >> embolden;
    if (!readList(s, indexes, sizeof(quint32)) || !readList(s, positions, 2 * sizeof(double))
        || indexes.size() != positions.size() || !std::isfinite(pixelSize) || pixelSize <= 0 || pixelSize > 1e5)
        throw std::runtime_error("Invalid picture: the page picture is damaged");
    QGlyphRun run;
    run.setRawFont(cachedFont(fonts, family, style, pixelSize, weight, italic));
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    run.setUnderline(underline);
    run.setOverline(overline);
    run.setStrikeOut(strike);
    return Picture::Glyphs(origin, run, QColor::fromRgba(rgba), embolden);
}

}  // namespace

Picture Picture::load(const QByteArray& bytes)
{
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0, count = 0;
    Picture pic;
    s >> magic >> version;
    if (magic != kMagic || version != kVersion) {
        QImage image;
        if (bytes.size() > 0 && image.loadFromData(bytes) && !image.isNull())
            return fromImage(image);
        throw std::runtime_error("Invalid picture: the data is neither a page picture nor an image");
    }
    s >> pic.size >> count;
    if (count > kMostFills || s.status() != QDataStream::Ok || !(pic.size.width() > 0 && pic.size.height() > 0)
        || pic.size.width() > kLongestSide || pic.size.height() > kLongestSide)
        throw std::runtime_error("Invalid picture: the page picture is damaged");
    for (quint32 i = 0; i < count && s.status() == QDataStream::Ok; ++i) {
        Fill f;
        QRgb rgba = 0;
        s >> f.rect >> rgba;
        f.colour = QColor::fromRgba(rgba);
        pic.fills.push_back(f);
    }
    s >> count;
    if (count > kMostGlyphRuns)
        throw std::runtime_error("Invalid picture: the page picture is damaged");
    ensurePlatformFonts();
    QHash<QString, QRawFont> fonts;
    for (quint32 i = 0; i < count && s.status() == QDataStream::Ok; ++i)
        pic.glyphs.push_back(readGlyphs(s, fonts));
    if (s.status() != QDataStream::Ok)
        throw std::runtime_error("Invalid picture: the page picture is damaged");
    return pic;
}

}  // namespace platform
