#pragma once

#include "wordproc/Model.h"
#include "wordproc/Position.h"

#include <QString>

namespace wordproc {

class Document;

// What is selected and the character format of what is typed next.
class Selection {
public:
    enum class Kind { Point, Range, Cell, Rows };

    explicit Selection(Document& doc);

    Kind kind() const { return mKind; }
    // Tables, rows and cells count from 0 here; the object model adds 1.
    void selectCell(int table, int row, int cell);
    void selectRows(int table, int first, int last);
    void setPoint(const Position& p);
    int table() const { return mTable; }
    int firstRow() const { return mFirstRow; }
    int lastRow() const { return mLastRow; }
    int cell() const { return mCell; }
    const Position& start() const { return mStart; }
    const Position& end() const { return mEnd; }

    // The format what is typed next shows (style chain and the typing format).
    CharFormat font() const;
    // Sets attributes on the selected text and on what is typed next.
    void setFont(const CharFormat& attributes);
    // Replaces the selection with text in the typing format; an empty text
    // still replaces it.
    void typeText(const QString& text);

    // Units are the object model's (automation/WordConstants.h).
    void moveDown(int unit, int count, bool extend);
    void homeKey(int unit, bool extend);
    void endKey(int unit, bool extend);
    // Insertion point at the start of page `page` (1-based); past the last
    // page it goes to the last page's start.
    void goToPage(int page);
    void deleteSelection();

    void copy();
    void paste();

private:
    Table& tableRef() const;
    Cell& cellRef() const;
    void resetTyping();
    void deleteRange(const Position& from, const Position& to);

    Document& mDoc;
    Kind mKind = Kind::Point;
    int mTable = 0, mFirstRow = 0, mLastRow = 0, mCell = 0;
    Position mStart, mEnd;
    CharFormat mTyping;  // set explicitly on what is typed next
};

}  // namespace wordproc
