#pragma once

#include <QByteArray>
#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace platform {

// The platform's picture, as pictures travel between components: through
// the clipboard, in files and in windows. Most are vector pictures (a page of
// a document: the paper, shaded areas and positioned glyphs, in twips), which
// stay sharp at any zoom; an ordinary image file loads as a raster picture.
class Picture {
public:
    struct Fill {
        QRectF rect;
        QColor colour;
    };
    // Glyphs of one font, kept compact: a page holds thousands and the preview
    // may hold a thousand pages, so each glyph keeps its index and its x, and
    // its y only where the run leaves its baseline.
    class Glyphs {
    public:
        Glyphs() = default;
        Glyphs(QPointF origin, const QGlyphRun& run, QColor colour, bool embolden = false);

        QPointF origin;
        QColor colour;
        bool embolden = false;  // bold asked of a face that has no bold strokes

        // The glyphs as Qt paints them, made anew at each call.
        QGlyphRun run() const;
        const QRawFont& font() const { return mFont; }
        qsizetype count() const { return static_cast<qsizetype>(mIndexes.size()); }
        qint64 memoryBytes() const;

    private:
        QRawFont mFont;
        QGlyphRun::GlyphRunFlags mFlags;
        std::vector<quint32> mIndexes;
        std::vector<float> mX;
        std::vector<float> mY;  // empty when every glyph stands on `mBaseline`
        float mBaseline = 0;
    };

    static constexpr const char* kMimeType = "application/x-corvalin-picture";
    // The largest picture file read back, far above any page's.
    static constexpr qint64 kLargestFileBytes = 256ll << 20;
    // A page copied as an ordinary image: sharp when pasted into a document,
    // small enough for a mail.
    static constexpr double kCopiedImageDpi = 150;

    QSizeF size;  // natural size, in twips
    std::vector<Fill> fills;
    std::vector<Glyphs> glyphs;

    bool isNull() const { return size.isEmpty(); }
    QImage raster;  // set for an ordinary image instead of the lists above

    // Paints the picture into `target`, scaled to fit it exactly; with a
    // source, only that part of it (in twips) is scaled into the target.
    void paint(QPainter& painter, const QRectF& target) const;
    void paint(QPainter& painter, const QRectF& target, const QRectF& source) const;
    static Picture fromImage(const QImage& image);
    // An ordinary image of the page at a resolution in dots per inch.
    QImage toImage(double dpi) const;

    // The picture's own format, and reading it back; an ordinary image file
    // is read as a raster picture. Anything else throws "Invalid picture".
    QByteArray save() const;
    static Picture load(const QByteArray& bytes);

    // About how much memory the picture holds.
    qint64 memoryBytes() const;
};

}  // namespace platform
