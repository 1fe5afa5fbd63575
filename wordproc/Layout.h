#pragma once

#include "platform/Picture.h"
#include "wordproc/Model.h"
#include "wordproc/Position.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRectF>
#include <limits>
#include <vector>

class QPainter;

namespace wordproc {

struct PageLayout {
    struct Page {
        Position start;  // where the page's content begins in the body
        platform::Picture picture;
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
