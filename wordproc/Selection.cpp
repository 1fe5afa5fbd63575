#include "wordproc/Selection.h"

#include "automation/WordConstants.h"
#include "wordproc/Document.h"
#include "wordproc/Layout.h"
#include "wordproc/Package.h"

#include <algorithm>

namespace word = automation::word;

namespace wordproc {

namespace {

// Whole rows copied by Selection::copy. Like the system's clipboard it is
// shared by every instance in the process.
std::vector<Row>& rowClipboard()
{
    static std::vector<Row> rows;
    return rows;
}

Paragraph emptyLike(const Paragraph& p)
{
    Paragraph e;
    e.style = p.style;
    e.format = p.format;
    e.markFormat = p.markFormat;
    return e;
}

// Inserts text with a format at a character offset of a paragraph.
void insertText(Paragraph& p, int offset, const QString& text, const CharFormat& format)
{
    int at = 0;
    size_t i = 0;
    for (; i < p.runs.size(); ++i) {
        const int len = static_cast<int>(p.runs[i].text.size());
        if (offset <= at + len)
            break;
        at += len;
    }
    if (i < p.runs.size() && offset > at) {  // split the run that holds the offset
        Run tail{p.runs[i].text.mid(offset - at), p.runs[i].format};
        p.runs[i].text.truncate(offset - at);
        p.runs.insert(p.runs.begin() + static_cast<long>(i) + 1, tail);
        ++i;
    }
    p.runs.insert(p.runs.begin() + static_cast<long>(i), Run{text, format});
    for (BookmarkMark& m : p.marks)
        if (m.offset > offset)
            m.offset += static_cast<int>(text.size());
}

// Removes the first n characters of a paragraph.
void dropFront(Paragraph& p, int n)
{
    int left = n;
    while (left > 0 && !p.runs.empty()) {
        Run& r = p.runs.front();
        if (r.text.size() <= left) {
            left -= static_cast<int>(r.text.size());
            p.runs.erase(p.runs.begin());
        } else {
            r.text.remove(0, left);
            left = 0;
        }
    }
    for (BookmarkMark& m : p.marks)
        m.offset = std::max(0, m.offset - n);
}

}  // namespace

Selection::Selection(Document& doc) : mDoc(doc)
{
    mStart.cuts = {TextCut{}};
    mEnd = mStart;
}

Table& Selection::tableRef() const
{
    auto tables = mDoc.model().tables();
    if (mTable < 0 || mTable >= static_cast<int>(tables.size()))
        throw DocumentError(QStringLiteral("The selected table no longer exists"));
    return *tables[static_cast<size_t>(mTable)];
}

Cell& Selection::cellRef() const
{
    Table& t = tableRef();
    if (mFirstRow >= static_cast<int>(t.rows.size())
        || mCell >= static_cast<int>(t.rows[static_cast<size_t>(mFirstRow)].cells.size()))
        throw DocumentError(QStringLiteral("The selected cell no longer exists"));
    return t.rows[static_cast<size_t>(mFirstRow)].cells[static_cast<size_t>(mCell)];
}

void Selection::selectCell(int table, int row, int cell)
{
    auto tables = mDoc.model().tables();
    if (table < 0 || table >= static_cast<int>(tables.size()))
        throw DocumentError(QStringLiteral("The requested member of the collection does not exist."));
    const Table& t = *tables[static_cast<size_t>(table)];
    if (row < 0 || row >= static_cast<int>(t.rows.size()) || cell < 0
        || cell >= static_cast<int>(t.rows[static_cast<size_t>(row)].cells.size()))
        throw DocumentError(QStringLiteral("The requested member of the collection does not exist."));
    mKind = Kind::Cell;
    mTable = table;
    mFirstRow = mLastRow = row;
    mCell = cell;
    resetTyping();
}

void Selection::selectRows(int table, int first, int last)
{
    auto tables = mDoc.model().tables();
    if (table < 0 || table >= static_cast<int>(tables.size()))
        throw DocumentError(QStringLiteral("The requested member of the collection does not exist."));
    const int rows = static_cast<int>(tables[static_cast<size_t>(table)]->rows.size());
    if (first < 0 || first > last || last >= rows)
        throw DocumentError(QStringLiteral("The requested member of the collection does not exist."));
    mKind = Kind::Rows;
    mTable = table;
    mFirstRow = first;
    mLastRow = last;
    mCell = 0;
    resetTyping();
}

void Selection::setPoint(const Position& p)
{
    mKind = Kind::Point;
    mStart = mEnd = p;
    resetTyping();
}

// What is typed next takes the format of the text where the selection begins.
void Selection::resetTyping()
{
    mTyping = CharFormat();
    if (mKind == Kind::Cell || mKind == Kind::Rows) {
        const Cell& c = tableRef().rows[static_cast<size_t>(mFirstRow)].cells[static_cast<size_t>(mCell)];
        const Paragraph& p = c.paragraphs.front();
        mTyping = p.runs.empty() ? p.markFormat : p.runs.front().format;
    }
}

CharFormat Selection::font() const
{
    Paragraph context;
    if (mKind == Kind::Cell || mKind == Kind::Rows)
        context = emptyLike(
            tableRef().rows[static_cast<size_t>(mFirstRow)].cells[static_cast<size_t>(mCell)].paragraphs.front());
    return mDoc.model().resolvedChars(context, mTyping);
}

void Selection::setFont(const CharFormat& attributes)
{
    mTyping.overlay(attributes);
    auto applyTo = [&](Cell& c) {
        for (Paragraph& p : c.paragraphs) {
            p.markFormat.overlay(attributes);
            for (Run& r : p.runs)
                r.format.overlay(attributes);
        }
    };
    if (mKind == Kind::Cell) {
        applyTo(cellRef());
    } else if (mKind == Kind::Rows) {
        Table& t = tableRef();
        for (int r = mFirstRow; r <= mLastRow; ++r)
            for (Cell& c : t.rows[static_cast<size_t>(r)].cells)
                applyTo(c);
    }
    mDoc.changed();
}

void Selection::typeText(const QString& text)
{
    if (mKind == Kind::Rows) {
        Table& t = tableRef();
        for (int r = mFirstRow; r <= mLastRow; ++r)
            for (Cell& c : t.rows[static_cast<size_t>(r)].cells)
                c.paragraphs = {emptyLike(c.paragraphs.front())};
        mKind = Kind::Cell;
        mCell = 0;
        mLastRow = mFirstRow;
    }
    if (mKind == Kind::Cell) {
        Cell& c = cellRef();
        Paragraph p = emptyLike(c.paragraphs.front());
        for (const Paragraph& old : c.paragraphs)  // bookmarks stay, at the cell's start
            for (BookmarkMark m : old.marks) {
                m.offset = 0;
                p.marks.push_back(m);
            }
        p.markFormat = mTyping;
        p.runs.push_back(Run{text, mTyping});
        c.paragraphs = {p};
        mDoc.changed();
        // The insertion point is now after the typed text, in the cell.
        const int block = mDoc.model().blockIndexOfTable(mTable);
        Position at{block, mFirstRow, {}};
        at.cuts.assign(tableRef().rows[static_cast<size_t>(mFirstRow)].cells.size(), TextCut{});
        at.cuts[static_cast<size_t>(mCell)] = TextCut{0, static_cast<int>(text.size())};
        mStart = mEnd = at;
        mKind = Kind::Point;
        return;
    }
    if (mKind == Kind::Range) {
        deleteRange(mStart, mEnd);
        mEnd = mStart;
        mKind = Kind::Point;
    }
    // An insertion point: in the first cell that the position names.
    auto& body = mDoc.model().body;
    if (mStart.block >= static_cast<int>(body.size()))
        body.emplace_back(Paragraph());
    Block& b = body[static_cast<size_t>(mStart.block)];
    TextCut cut = mStart.cuts.empty() ? TextCut{} : mStart.cuts.front();
    Paragraph* p = nullptr;
    if (auto* para = std::get_if<Paragraph>(&b)) {
        p = para;
    } else {
        Table& t = std::get<Table>(b);
        Cell& c =
            t.rows[static_cast<size_t>(std::min<int>(mStart.row, static_cast<int>(t.rows.size()) - 1))].cells.front();
        p = &c.paragraphs[static_cast<size_t>(std::min<int>(cut.para, static_cast<int>(c.paragraphs.size()) - 1))];
    }
    insertText(*p, std::min(cut.offset, p->length()), text, mTyping);
    if (!mStart.cuts.empty())
        mStart.cuts.front().offset += static_cast<int>(text.size());
    mEnd = mStart;
    mDoc.changed();
}

void Selection::moveDown(int unit, int count, bool extend)
{
    if (unit != word::wdLine && unit != word::wdParagraph)
        throw DocumentError(QStringLiteral("MoveDown: the unit %1 is not supported").arg(unit));
    if (mKind != Kind::Rows && mKind != Kind::Cell)
        throw DocumentError(QStringLiteral("MoveDown is supported in tables only"));
    const int rows = static_cast<int>(tableRef().rows.size());
    if (extend) {
        // Whole rows extend by whole rows, whatever their cells hold.
        const int last = std::clamp(mLastRow + count, mFirstRow, rows - 1);
        const int first = mFirstRow;
        selectRows(mTable, first, last);
    } else {
        const int row = std::clamp(mFirstRow + count, 0, rows - 1);
        const int cells = static_cast<int>(tableRef().rows[static_cast<size_t>(row)].cells.size());
        selectCell(mTable, row, std::min(mCell, cells - 1));
    }
}

void Selection::homeKey(int unit, bool extend)
{
    if (unit != word::wdStory)
        throw DocumentError(QStringLiteral("HomeKey: the unit %1 is not supported").arg(unit));
    Position start{0, 0, {}};
    if (!mDoc.model().body.empty()) {
        const Block& b = mDoc.model().body.front();
        start.cuts.assign(std::holds_alternative<Table>(b) ? std::get<Table>(b).rows.front().cells.size() : 1,
                          TextCut{});
    }
    const Position end = mKind == Kind::Point || mKind == Kind::Range ? mEnd : start;
    mKind = extend ? Kind::Range : Kind::Point;
    mStart = start;
    mEnd = extend ? end : start;
    resetTyping();
}

void Selection::endKey(int unit, bool extend)
{
    if (unit != word::wdStory)
        throw DocumentError(QStringLiteral("EndKey: the unit %1 is not supported").arg(unit));
    const Position end{static_cast<int>(mDoc.model().body.size()), 0, {}};
    const Position start = mKind == Kind::Point || mKind == Kind::Range ? mStart : Position{0, 0, {TextCut{}}};
    mKind = extend ? Kind::Range : Kind::Point;
    mStart = extend ? start : end;
    mEnd = end;
    resetTyping();
}

void Selection::goToPage(int page)
{
    const PageLayout& l = mDoc.layout(page);
    const int index = std::clamp(page, 1, static_cast<int>(l.pages.size())) - 1;
    setPoint(l.pages[static_cast<size_t>(index)].start);
}

void Selection::deleteSelection()
{
    if (mKind == Kind::Range) {
        deleteRange(mStart, mEnd);
        mEnd = mStart;
        mKind = Kind::Point;
    } else if (mKind == Kind::Cell) {
        Cell& c = cellRef();
        c.paragraphs = {emptyLike(c.paragraphs.front())};
    } else if (mKind == Kind::Rows) {
        Table& t = tableRef();
        t.rows.erase(t.rows.begin() + mFirstRow, t.rows.begin() + mLastRow + 1);
        if (t.rows.empty()) {
            auto& body = mDoc.model().body;
            body.erase(body.begin() + mDoc.model().blockIndexOfTable(mTable));
        }
        setPoint(Position{0, 0, {TextCut{}}});
    } else {
        return;  // deleting a character at an insertion point is not needed by any caller
    }
    mDoc.changed();
}

// Deletes from the start of the document up to a position, cutting a row or a
// paragraph where the position lies inside it. Ranges that do not begin at
// the start of the document are deleted the same way from their start block.
void Selection::deleteRange(const Position& from, const Position& to)
{
    auto& body = mDoc.model().body;
    const int first = std::clamp(from.block, 0, static_cast<int>(body.size()));
    const int last = std::clamp(to.block, first, static_cast<int>(body.size()));
    body.erase(body.begin() + first, body.begin() + last);
    if (first >= static_cast<int>(body.size()) || to.block >= static_cast<int>(body.size()) + (last - first))
        return;
    Block& b = body[static_cast<size_t>(first)];
    // What remains of a cut paragraph continues it: it gets no space before.
    auto cutParagraphs = [](std::vector<Paragraph>& paras, const TextCut& cut) {
        const int drop = std::clamp(cut.para, 0, static_cast<int>(paras.size()) - 1);
        if (cut.para >= static_cast<int>(paras.size())) {
            paras = {emptyLike(paras.back())};
            paras.front().runs.clear();
            return;
        }
        paras.erase(paras.begin(), paras.begin() + drop);
        if (cut.offset > 0) {
            dropFront(paras.front(), cut.offset);
            paras.front().format.spaceBefore = 0;
        }
    };
    if (auto* p = std::get_if<Paragraph>(&b)) {
        std::vector<Paragraph> one{*p};
        if (!to.cuts.empty())
            cutParagraphs(one, to.cuts.front());
        *p = one.front();
        return;
    }
    Table& t = std::get<Table>(b);
    const int row = std::clamp(to.row, 0, static_cast<int>(t.rows.size()));
    t.rows.erase(t.rows.begin(), t.rows.begin() + row);
    if (t.rows.empty() || to.cuts.empty())
        return;
    Row& r = t.rows.front();
    for (size_t c = 0; c < r.cells.size() && c < to.cuts.size(); ++c)
        cutParagraphs(r.cells[c].paragraphs, to.cuts[c]);
}

void Selection::copy()
{
    if (mKind != Kind::Rows)
        throw DocumentError(QStringLiteral("Copy needs whole table rows selected"));
    std::vector<Row> rows(tableRef().rows.begin() + mFirstRow, tableRef().rows.begin() + mLastRow + 1);
    for (Row& r : rows)  // bookmark names are unique: copies carry none
        for (Cell& c : r.cells)
            for (Paragraph& p : c.paragraphs)
                p.marks.clear();
    rowClipboard() = std::move(rows);
}

void Selection::paste()
{
    if (rowClipboard().empty())
        throw DocumentError(QStringLiteral("There is nothing to paste"));
    if (mKind != Kind::Rows && mKind != Kind::Cell)
        throw DocumentError(QStringLiteral("Rows can be pasted only where a table row is selected"));
    Table& t = tableRef();
    const auto& rows = rowClipboard();
    t.rows.insert(t.rows.begin() + mFirstRow, rows.begin(), rows.end());
    const int shift = static_cast<int>(rows.size());
    selectRows(mTable, mFirstRow + shift, mLastRow + shift);
    mDoc.changed();
}

}  // namespace wordproc
