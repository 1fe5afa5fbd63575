#include "tests/support/SampleMeeting.h"

#include "docgen/FormattedText.h"

#include <QLocale>

namespace testing_support {

using automation::call;
using automation::get;
using automation::ObjectPtr;

std::vector<Piece> samplePieces(const QDateTime& when)
{
    const QLocale c = QLocale::c();
    std::vector<Piece> p = {
        {1, 1, 1, QStringLiteral("BIG MEETING"), 20, false},
        {1, 2, 2, c.toString(when.date(), QStringLiteral("dd-MMM-yyyy")), 8, true},
        {1, 2, 3, c.toString(when.time(), QStringLiteral("hh:mm AP")), 8, true},
        {1, 2, 4, QStringLiteral("Conference Room B"), 8, true},
        {1, 4, 2, QStringLiteral("Orrin Vasque"), 8, false},
        {1, 5, 2, QStringLiteral("Informative"), 8, false},
        {1, 6, 2, QStringLiteral("Hale Dorrance"), 8, false},
        {1, 7, 2, QStringLiteral("Mira Calloway"), 8, false},
        {1, 8, 2, QStringLiteral("Tobias Renwick"), 8, false},
        {1, 9, 2, QStringLiteral("Everyone"), 8, false},
        {1, 12, 1, QStringLiteral("30 minutes"), 8, true},
        {1, 12, 2, QStringLiteral("Penguin Meeting"), 8, true},
        {1, 12, 3, QStringLiteral("Orrin Vasque"), 8, true},
        {1, 13, 2, QStringLiteral("Penguins are black and white."), 8, false},
        {1, 14, 1, QStringLiteral("Some old TV shows are black and white."), 8, false},
        {1, 15, 1, QString(), 8, false},
        {1, 16, 2, QStringLiteral("Therefore, some penguins are old TV shows."), 8, false},
        {1, 17, 1, QString(), 8, false},
        {1, 18, 1, QString(), 8, false},
        {1, 20, 1, QStringLiteral("Watch March Of The Penguins"), 8, false},
        {1, 20, 2, QStringLiteral("Lio Vasque"), 8, false},
        {1, 20, 3, QString(), 8, false},
        {1, 21, 1, QString(), 8, false},
        {1, 21, 2, QString(), 8, false},
        {1, 21, 3, QString(), 8, false},
        {2, 1, 2, QStringLiteral("Spider in back right corner of conference room"), 8, false},
        {2, 2, 2, QStringLiteral("Ansel Marrow"), 8, false},
        {2, 3, 2, QStringLiteral("None"), 8, false},
    };
    return p;
}

void typePieces(const ObjectPtr& word, const QString& templatePath, const std::vector<Piece>& pieces)
{
    call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"),
         {templatePath, automation::omitted(), true});
    for (const Piece& p : pieces) {
        const ObjectPtr doc = get(word, QStringLiteral("ActiveDocument")).toObject();
        const ObjectPtr table = get(doc, QStringLiteral("Tables"), {qint32(p.table)}).toObject();
        const ObjectPtr row = get(table, QStringLiteral("Rows"), {qint32(p.row)}).toObject();
        call(get(row, QStringLiteral("Cells"), {qint32(p.cell)}).toObject(), QStringLiteral("Select"));
        docgen::setFont(word, p.text, p.size, QStringLiteral("Tahoma"), 0, p.caps, false);
    }
}

}  // namespace testing_support
