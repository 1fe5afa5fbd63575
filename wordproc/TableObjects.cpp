#include "wordproc/Objects.h"

namespace wordproc::objects {

namespace {

class CellObject : public DocPart {
public:
    CellObject(DocPtr d, int t, int r, int c) : DocPart(QStringLiteral("Cell"), std::move(d))
    {
        addMethod(QStringLiteral("Select"), {}, [this, t, r, c](const Bound&) {
            doc().selection().selectCell(t, r, c);
            return Value();
        });
    }
};

class CellsObject : public DocPart {
public:
    CellsObject(DocPtr d, int t, int r) : DocPart(QStringLiteral("Cells"), std::move(d))
    {
        addProperty(QStringLiteral("Count"), Kind::Long, {},
                    [this, t, r](const Bound&) { return Value(qint32(cells(t, r))); });
        addMethod(QStringLiteral("Item"), {required(QStringLiteral("Index"), Kind::Long)},
                  [this, t, r](const Bound& a) {
                      return Value(ObjectPtr(std::make_shared<CellObject>(mDoc, t, r, index0(a[0], cells(t, r)))));
                  });
    }
    int cells(int t, int r) const
    {
        const Table& tb = table(t);
        if (r >= static_cast<int>(tb.rows.size()))
            throw AutomationError(kNoMember);
        return static_cast<int>(tb.rows[static_cast<size_t>(r)].cells.size());
    }
};

class RowObject : public DocPart {
public:
    RowObject(DocPtr d, int t, int r) : DocPart(QStringLiteral("Row"), std::move(d))
    {
        addMethod(QStringLiteral("Select"), {}, [this, t, r](const Bound&) {
            doc().selection().selectRows(t, r, r);
            return Value();
        });
        addProperty(QStringLiteral("Cells"), std::nullopt, {optionalParam(QStringLiteral("Index"), Kind::Long)},
                    [this, t, r](const Bound& a) {
                        auto cells = std::make_shared<CellsObject>(mDoc, t, r);
                        if (!a.has(0))
                            return Value(ObjectPtr(cells));
                        return Value(
                            ObjectPtr(std::make_shared<CellObject>(mDoc, t, r, index0(a[0], cells->cells(t, r)))));
                    });
    }
};

class RowsObject : public DocPart {
public:
    RowsObject(DocPtr d, int t) : DocPart(QStringLiteral("Rows"), std::move(d))
    {
        addProperty(QStringLiteral("Count"), Kind::Long, {},
                    [this, t](const Bound&) { return Value(qint32(table(t).rows.size())); });
        addMethod(QStringLiteral("Item"), {required(QStringLiteral("Index"), Kind::Long)}, [this, t](const Bound& a) {
            return Value(
                ObjectPtr(std::make_shared<RowObject>(mDoc, t, index0(a[0], static_cast<int>(table(t).rows.size())))));
        });
    }
};

class TableObject : public DocPart {
public:
    TableObject(DocPtr d, int t) : DocPart(QStringLiteral("Table"), std::move(d))
    {
        addProperty(QStringLiteral("Rows"), std::nullopt, {optionalParam(QStringLiteral("Index"), Kind::Long)},
                    [this, t](const Bound& a) {
                        if (!a.has(0))
                            return Value(ObjectPtr(std::make_shared<RowsObject>(mDoc, t)));
                        const int r = index0(a[0], static_cast<int>(table(t).rows.size()));
                        return Value(ObjectPtr(std::make_shared<RowObject>(mDoc, t, r)));
                    });
        addMethod(QStringLiteral("Cell"),
                  {required(QStringLiteral("Row"), Kind::Long), required(QStringLiteral("Column"), Kind::Long)},
                  [this, t](const Bound& a) {
                      const Table& tb = table(t);
                      const int r = index0(a[0], static_cast<int>(tb.rows.size()));
                      const int c = index0(a[1], static_cast<int>(tb.rows[static_cast<size_t>(r)].cells.size()));
                      return Value(ObjectPtr(std::make_shared<CellObject>(mDoc, t, r, c)));
                  });
    }
};

class TablesObject : public DocPart {
public:
    explicit TablesObject(DocPtr d) : DocPart(QStringLiteral("Tables"), std::move(d))
    {
        addProperty(QStringLiteral("Count"), Kind::Long, {},
                    [this](const Bound&) { return Value(qint32(doc().model().tables().size())); });
        addMethod(QStringLiteral("Item"), {required(QStringLiteral("Index"), Kind::Long)}, [this](const Bound& a) {
            return Value(ObjectPtr(
                std::make_shared<TableObject>(mDoc, index0(a[0], static_cast<int>(doc().model().tables().size())))));
        });
    }
};

}  // namespace

ObjectPtr makeTables(DocPtr doc) { return std::make_shared<TablesObject>(std::move(doc)); }

ObjectPtr makeTable(DocPtr doc, int table) { return std::make_shared<TableObject>(std::move(doc), table); }

}  // namespace wordproc::objects
