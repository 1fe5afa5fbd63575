#pragma once

#include "wordproc/Engine.h"
#include "wordproc/Model.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRectF>
#include <limits>
#include <vector>

class QPainter;

namespace wordproc {

// A picture of one page: the paper, shaded areas and positioned glyphs, in
// twips. Drawn scaled, it stays sharp at any zoom, since nothing in it is a
// bitmap.
class PagePicture {
public:
    struct Fill {
        QRectF rect;
        QColor colour;
    };
    struct Glyphs {
        QPointF origin;
        QGlyphRun run;
        QColor colour;
        bool embolden = false;  // bold asked of a face that has no bold strokes
    };

    static constexpr const char* kMimeType = "application/x-corvalin-page";

    QSizeF size;  // the paper, in twips
    std::vector<Fill> fills;
    std::vector<Glyphs> glyphs;

    bool isNull() const { return size.isEmpty(); }
    // Paints the page into `target`, scaled to fit it exactly.
    void paint(QPainter& painter, const QRectF& target) const;
    // An ordinary image of the page at a resolution in dots per inch.
    QImage toImage(double dpi) const;

    // The picture's own format, and reading it back (throws on anything else).
    QByteArray save() const;
    static PagePicture load(const QByteArray& bytes);
    void saveToFile(const QString& path) const;
    static PagePicture loadFromFile(const QString& path);

    // About how much memory the picture holds.
    qint64 memoryBytes() const;
};

struct PageLayout {
    struct Page {
        Position start;  // where the page's content begins in the body
        PagePicture picture;
    };
    std::vector<Page> pages;  // at least one
    // False when the layout stopped early: then the last page is only begun
    // (its start is known, its picture is not finished).
    bool complete = true;
};

// Lays the document out into pages of its page size and margins; with a
// limit, it stops once that many pages have begun.
PageLayout layoutDocument(const DocumentModel& model, int pageLimit = std::numeric_limits<int>::max());

// The font a resolved character format is measured and drawn with, its size
// in twips. "Tahoma" is the one installed with the system's fonts for Windows
// programs when there is one, otherwise a substitute of similar shape.
QFont fontFor(const CharFormat& resolved);

}  // namespace wordproc
