#pragma once

#include "automation/Object.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace testing_support {

// One piece of the sample meeting and the cell it goes to (counted from 1).
struct Piece {
    int table, row, cell;
    QString text;
    qint16 size;
    bool caps;
};

// The sample meeting's 28 pieces where the minutes template takes them.
std::vector<Piece> samplePieces(const QDateTime& when = QDateTime(QDate(2026, 12, 7), QTime(13, 5), Qt::UTC));

// Opens the template in `word` read-only, selects each piece's cell and types
// it with its attributes, as template filling does.
void typePieces(const automation::ObjectPtr& word, const QString& templatePath, const std::vector<Piece>& pieces);

}  // namespace testing_support
