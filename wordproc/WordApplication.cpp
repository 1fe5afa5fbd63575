#include "wordproc/WordApplication.h"

#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "automation/Registry.h"
#include "automation/WordConstants.h"
#include "wordproc/Layout.h"
#include "wordproc/WordProcessor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace wordproc {

namespace word = automation::word;

using automation::AutomationError;
using automation::Bound;
using automation::Dispatch;
using automation::Kind;
using automation::ObjectPtr;
using automation::optionalParam;
using automation::required;
using automation::Value;
using AppPtr = std::shared_ptr<WordProcessor>;
using DocPtr = std::shared_ptr<Document>;

namespace {

const QString kNoMember = QStringLiteral("The requested member of the collection does not exist.");

// A 1-based index into a collection of n; anything else does not exist.
int index0(const Value& v, int n)
{
    const qint32 i = v.toLong();
    if (i < 1 || i > n)
        throw AutomationError(kNoMember);
    return i - 1;
}

class Base : public Dispatch {
public:
    explicit Base(QString type) : mType(std::move(type)) {}
    QString typeName() const override { return mType; }
    // Engine failures reach the program as automation failures, with their text.
    Value invoke(const QString& member, automation::CallKind kind, const automation::Arguments& args) override
    {
        try {
            return Dispatch::invoke(member, kind, args);
        } catch (const AutomationError&) {
            throw;
        } catch (const std::exception& e) {
            throw AutomationError(QString::fromUtf8(e.what()));
        }
    }

private:
    QString mType;
};

// Objects that belong to a document check that it is still open.
class DocPart : public Base {
public:
    DocPart(QString type, DocPtr doc) : Base(std::move(type)), mDoc(std::move(doc)) {}

protected:
    Document& doc() const
    {
        mDoc->wordProcessor().ensureRunning();
        mDoc->ensureOpen();
        return *mDoc;
    }
    Table& table(int t) const
    {
        auto tables = doc().model().tables();
        if (t >= static_cast<int>(tables.size()))
            throw AutomationError(kNoMember);
        return *tables[static_cast<size_t>(t)];
    }
    DocPtr mDoc;
};

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

// A page on the clipboard: in the page-picture format, and as an ordinary
// image for other programs, painted only when one of them asks for it.
class PageMimeData : public QMimeData {
public:
    explicit PageMimeData(platform::Picture picture) : mPicture(std::move(picture))
    {
        setData(QLatin1String(platform::Picture::kMimeType), mPicture.save());
    }
    QStringList formats() const override { return QMimeData::formats() << QStringLiteral("application/x-qt-image"); }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override
    {
        if (mime == QLatin1String("application/x-qt-image"))
            return mPicture.toImage(150);
        return QMimeData::retrieveData(mime, type);
    }

private:
    platform::Picture mPicture;
};

void copyFirstPageAsPicture(Document& d)
{
    // Page 1 is whole once page 2 has begun.
    QGuiApplication::clipboard()->setMimeData(new PageMimeData(d.layout(2).pages.front().picture));
}

class RangeObject : public DocPart {
public:
    explicit RangeObject(DocPtr d) : DocPart(QStringLiteral("Range"), std::move(d))
    {
        addMethod(QStringLiteral("CopyAsPicture"), {}, [this](const Bound&) {
            copyFirstPageAsPicture(doc());
            return Value();
        });
    }
};

class DocumentObject : public DocPart {
public:
    explicit DocumentObject(DocPtr d) : DocPart(QStringLiteral("Document"), std::move(d))
    {
        addProperty(QStringLiteral("Tables"), std::nullopt, {optionalParam(QStringLiteral("Index"), Kind::Long)},
                    [this](const Bound& a) {
                        if (!a.has(0))
                            return Value(ObjectPtr(std::make_shared<TablesObject>(mDoc)));
                        const int t = index0(a[0], static_cast<int>(doc().model().tables().size()));
                        return Value(ObjectPtr(std::make_shared<TableObject>(mDoc, t)));
                    });
        addMethod(QStringLiteral("SaveAs"),
                  {required(QStringLiteral("FileName"), Kind::String), optionalParam(QStringLiteral("FileFormat")),
                   optionalParam(QStringLiteral("LockComments")), optionalParam(QStringLiteral("Password")),
                   optionalParam(QStringLiteral("AddToRecentFiles"))},
                  [this](const Bound& a) {
                      doc().saveAs(a[0].toString());
                      return Value();
                  });
        addMethod(QStringLiteral("Close"),
                  {optionalParam(QStringLiteral("SaveChanges"), Kind::Long),
                   optionalParam(QStringLiteral("OriginalFormat")), optionalParam(QStringLiteral("RouteDocument"))},
                  [this](const Bound& a) {
                      doc().close(a.valueOr(0, word::wdPromptToSaveChanges).toLong());
                      return Value();
                  });
        addMethod(QStringLiteral("Range"),
                  {optionalParam(QStringLiteral("Start")), optionalParam(QStringLiteral("End"))}, [this](const Bound&) {
                      doc();
                      return Value(ObjectPtr(std::make_shared<RangeObject>(mDoc)));
                  });
        addMethod(QStringLiteral("Repaginate"), {}, [this](const Bound&) {
            doc().layout();
            return Value();
        });
        addProperty(QStringLiteral("BuiltInDocumentProperties"), std::nullopt, {required(QStringLiteral("Index"))},
                    [this](const Bound& a) {
                        const Value& index = a[0];
                        const bool byName = index.kind() == Kind::String;
                        const QString name = byName ? index.toString().toLower() : QString();
                        const int n = byName ? 0 : index.toLong();
                        if (n == word::wdPropertyTitle || name == QLatin1String("title"))
                            return Value(doc().model().properties.title);
                        if (n == word::wdPropertyAuthor || name == QLatin1String("author"))
                            return Value(doc().model().properties.creator);
                        if (n == word::wdPropertyPages || name == QLatin1String("number of pages"))
                            return Value(qint32(doc().pageCount()));
                        throw AutomationError(kNoMember);
                    });
        addProperty(QStringLiteral("Name"), Kind::String, {}, [this](const Bound&) { return Value(doc().name()); });
        addProperty(QStringLiteral("FullName"), Kind::String, {}, [this](const Bound&) { return Value(doc().path()); });
        addProperty(QStringLiteral("ReadOnly"), Kind::Boolean, {},
                    [this](const Bound&) { return Value(doc().readOnly()); });
        addProperty(QStringLiteral("Saved"), Kind::Boolean, {}, [this](const Bound&) { return Value(doc().saved()); });
    }
};

class FontObject : public Base {
public:
    explicit FontObject(AppPtr app) : Base(QStringLiteral("Font")), mApp(std::move(app))
    {
        using F = CharFormat;
        flag(QStringLiteral("Bold"), &F::bold);
        flag(QStringLiteral("Italic"), &F::italic);
        flag(QStringLiteral("StrikeThrough"), &F::strike);
        flag(QStringLiteral("DoubleStrikeThrough"), &F::doubleStrike);
        flag(QStringLiteral("Outline"), &F::outline);
        flag(QStringLiteral("Emboss"), &F::emboss);
        flag(QStringLiteral("Shadow"), &F::shadow);
        flag(QStringLiteral("Hidden"), &F::hidden);
        flag(QStringLiteral("SmallCaps"), &F::smallCaps);
        flag(QStringLiteral("AllCaps"), &F::allCaps);
        flag(QStringLiteral("Engrave"), &F::engrave);
        flag(QStringLiteral("Superscript"), &F::superscript);
        flag(QStringLiteral("Subscript"), &F::subscript);
        number(QStringLiteral("Underline"), &F::underline);
        number(QStringLiteral("UnderlineColor"), &F::underlineColor);
        number(QStringLiteral("Color"), &F::color);
        number(QStringLiteral("Scaling"), &F::scaling);
        number(QStringLiteral("Position"), &F::position);
        number(QStringLiteral("Kerning"), &F::kerning);
        number(QStringLiteral("Animation"), &F::animation);
        addProperty(
            QStringLiteral("Name"), Kind::String, {}, [this](const Bound&) { return Value(*font().name); },
            [this](const Bound&, const Value& v) {
                F f;
                f.name = v.toString();
                apply(f);
            });
        real(QStringLiteral("Size"), &F::size, 1, 1638);
        real(QStringLiteral("Spacing"), &F::spacing, -1584, 1584);
    }

private:
    Selection& selection() const
    {
        mApp->ensureRunning();
        return mApp->selection();
    }
    CharFormat font() const
    {
        CharFormat f;
        f = selection().font();
        return f;
    }
    void apply(const CharFormat& f) { selection().setFont(f); }
    void flag(const QString& name, std::optional<bool> CharFormat::*member)
    {
        addProperty(
            name, Kind::Boolean, {}, [this, member](const Bound&) { return Value(*(font().*member)); },
            [this, member](const Bound&, const Value& v) {
                CharFormat f;
                f.*member = v.toBool();
                apply(f);
            });
    }
    template <class T> void number(const QString& name, std::optional<T> CharFormat::*member)
    {
        addProperty(
            name, Kind::Long, {}, [this, member](const Bound&) { return Value(qint32(*(font().*member))); },
            [this, member](const Bound&, const Value& v) {
                CharFormat f;
                f.*member = static_cast<T>(v.toLong());
                apply(f);
            });
    }
    void real(const QString& name, std::optional<double> CharFormat::*member, double lo, double hi)
    {
        addProperty(
            name, Kind::Double, {}, [this, member](const Bound&) { return Value(float(*(font().*member))); },
            [this, member, name, lo, hi](const Bound&, const Value& v) {
                const double d = v.toDouble();
                if (!(d >= lo && d <= hi))
                    throw AutomationError(QStringLiteral("The value %1 is out of range for Font.%2").arg(d).arg(name));
                CharFormat f;
                f.*member = d;
                apply(f);
            });
    }

    AppPtr mApp;
};

class SelectionObject : public Base {
public:
    explicit SelectionObject(AppPtr app) : Base(QStringLiteral("Selection")), mApp(std::move(app))
    {
        addProperty(QStringLiteral("Font"), std::nullopt, {}, [this](const Bound&) {
            selection();
            return Value(ObjectPtr(std::make_shared<FontObject>(mApp)));
        });
        addMethod(QStringLiteral("TypeText"), {required(QStringLiteral("Text"), Kind::String)}, [this](const Bound& a) {
            selection().typeText(a[0].toString());
            return Value();
        });
        const auto unitCountExtend = {optionalParam(QStringLiteral("Unit"), Kind::Long),
                                      optionalParam(QStringLiteral("Count"), Kind::Long),
                                      optionalParam(QStringLiteral("Extend"), Kind::Long)};
        addMethod(QStringLiteral("MoveDown"), unitCountExtend, [this](const Bound& a) {
            selection().moveDown(a.valueOr(0, word::wdLine).toLong(), a.valueOr(1, qint32(1)).toLong(),
                                 a.valueOr(2, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        const auto unitExtend = {optionalParam(QStringLiteral("Unit"), Kind::Long),
                                 optionalParam(QStringLiteral("Extend"), Kind::Long)};
        addMethod(QStringLiteral("HomeKey"), unitExtend, [this](const Bound& a) {
            selection().homeKey(a.valueOr(0, word::wdLine).toLong(),
                                a.valueOr(1, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        addMethod(QStringLiteral("EndKey"), unitExtend, [this](const Bound& a) {
            selection().endKey(a.valueOr(0, word::wdLine).toLong(),
                               a.valueOr(1, word::wdMove).toLong() == word::wdExtend);
            return Value();
        });
        addMethod(QStringLiteral("GoTo"),
                  {optionalParam(QStringLiteral("What"), Kind::Long),
                   optionalParam(QStringLiteral("Which"), Kind::Long),
                   optionalParam(QStringLiteral("Count"), Kind::Long), optionalParam(QStringLiteral("Name"))},
                  [this](const Bound& a) {
                      goTo(a);
                      return Value();
                  });
        addMethod(
            QStringLiteral("Delete"),
            {optionalParam(QStringLiteral("Unit"), Kind::Long), optionalParam(QStringLiteral("Count"), Kind::Long)},
            [this](const Bound&) {
                selection().deleteSelection();
                return Value();
            });
        addMethod(QStringLiteral("Copy"), {}, [this](const Bound&) {
            selection().copy();
            return Value();
        });
        addMethod(QStringLiteral("Paste"), {}, [this](const Bound&) {
            selection().paste();
            return Value();
        });
    }

private:
    Selection& selection() const
    {
        mApp->ensureRunning();
        return mApp->selection();
    }

    // Pages only (What 1). A page named by number, else counted: Which 1 is
    // absolute, 2 next, 3 previous, -1 the last page.
    void goTo(const Bound& a)
    {
        if (a.valueOr(0, word::wdGoToPage).toLong() != word::wdGoToPage)
            throw AutomationError(QStringLiteral("GoTo: only pages (What 1) are supported"));
        int page = 1;
        if (a.has(3)) {
            page = a[3].toLong();
        } else {
            const int which = a.valueOr(1, word::wdGoToAbsolute).toLong();
            const int count = a.valueOr(2, qint32(1)).toLong();
            page = which == word::wdGoToLast       ? mApp->activeDocument()->pageCount()
                   : which == word::wdGoToNext     ? 1 + count
                   : which == word::wdGoToPrevious ? 1 - count
                                                   : count;
        }
        selection().goToPage(page);
    }

    AppPtr mApp;
};

class DocumentsObject : public Base {
public:
    explicit DocumentsObject(AppPtr app) : Base(QStringLiteral("Documents")), mApp(std::move(app))
    {
        addMethod(QStringLiteral("Open"),
                  {required(QStringLiteral("FileName"), Kind::String),
                   optionalParam(QStringLiteral("ConfirmConversions")),
                   optionalParam(QStringLiteral("ReadOnly"), Kind::Boolean),
                   optionalParam(QStringLiteral("AddToRecentFiles")), optionalParam(QStringLiteral("PasswordDocument")),
                   optionalParam(QStringLiteral("PasswordTemplate")), optionalParam(QStringLiteral("Revert")),
                   optionalParam(QStringLiteral("WritePasswordDocument")),
                   optionalParam(QStringLiteral("WritePasswordTemplate")), optionalParam(QStringLiteral("Format")),
                   optionalParam(QStringLiteral("Encoding")), optionalParam(QStringLiteral("Visible"))},
                  [this](const Bound& a) {
                      return Value(ObjectPtr(
                          std::make_shared<DocumentObject>(mApp->open(a[0].toString(), a.valueOr(2, false).toBool()))));
                  });
        addProperty(QStringLiteral("Count"), Kind::Long, {}, [this](const Bound&) {
            mApp->ensureRunning();
            return Value(qint32(mApp->documents().size()));
        });
        addMethod(QStringLiteral("Item"), {required(QStringLiteral("Index"), Kind::Long)}, [this](const Bound& a) {
            mApp->ensureRunning();
            const auto& docs = mApp->documents();
            return Value(ObjectPtr(std::make_shared<DocumentObject>(
                docs[static_cast<size_t>(index0(a[0], static_cast<int>(docs.size())))])));
        });
    }

private:
    AppPtr mApp;
};

class WordApplicationObject : public Base, public std::enable_shared_from_this<WordApplicationObject> {
public:
    WordApplicationObject() : Base(QStringLiteral("Word.Application")), mApp(std::make_shared<WordProcessor>())
    {
        addProperty(QStringLiteral("Documents"), std::nullopt, {}, [this](const Bound&) {
            mApp->ensureRunning();
            return Value(ObjectPtr(std::make_shared<DocumentsObject>(mApp)));
        });
        addProperty(QStringLiteral("ActiveDocument"), std::nullopt, {}, [this](const Bound&) {
            return Value(ObjectPtr(std::make_shared<DocumentObject>(mApp->activeDocument())));
        });
        addProperty(QStringLiteral("Selection"), std::nullopt, {}, [this](const Bound&) {
            mApp->activeDocument();
            return Value(ObjectPtr(std::make_shared<SelectionObject>(mApp)));
        });
        addProperty(QStringLiteral("Application"), std::nullopt, {},
                    [this](const Bound&) { return Value(ObjectPtr(shared_from_this())); });
        addProperty(
            QStringLiteral("DisplayAlerts"), Kind::Long, {},
            [this](const Bound&) { return Value(qint32(mApp->displayAlerts ? -1 : 0)); },
            [this](const Bound&, const Value& v) {
                mApp->ensureRunning();
                mApp->displayAlerts = v.toLong() != 0;
            });
        addProperty(
            QStringLiteral("Visible"), Kind::Boolean, {}, [this](const Bound&) { return Value(mApp->visible); },
            [this](const Bound&, const Value& v) { mApp->visible = v.toBool(); });
        addMethod(QStringLiteral("Quit"),
                  {optionalParam(QStringLiteral("SaveChanges")), optionalParam(QStringLiteral("OriginalFormat")),
                   optionalParam(QStringLiteral("RouteDocument"))},
                  [this](const Bound&) {
                      mApp->quit();
                      return Value();
                  });
    }

private:
    AppPtr mApp;
};

}  // namespace

ObjectPtr createWordApplication() { return std::make_shared<WordApplicationObject>(); }

void registerComponent()
{
    automation::Registry::instance().add(QStringLiteral("Word.Application"), createWordApplication);
}

}  // namespace wordproc
