#pragma once

#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "automation/WordConstants.h"
#include "wordproc/WordProcessor.h"

#include <memory>

// What the objects of "Word.Application" share, and how one family of them
// makes the objects of another. Only the component's own object files include
// this; the program sees WordApplication.h.
namespace wordproc::objects {

// The object model's own words, for every object file.
namespace word = automation::word;
using automation::AutomationError;
using automation::Bound;
using automation::Kind;
using automation::ObjectPtr;
using automation::optionalParam;
using automation::required;
using automation::Value;

using ProcessorPtr = std::shared_ptr<WordProcessor>;
using DocPtr = std::shared_ptr<Document>;

inline const QString kNoMember = QStringLiteral("The requested member of the collection does not exist.");

// A 1-based index into a collection of n; anything else does not exist.
inline int index0(const automation::Value& v, int n)
{
    const qint32 i = v.toLong();
    if (i < 1 || i > n)
        throw automation::AutomationError(kNoMember);
    return i - 1;
}

class Base : public automation::Dispatch {
public:
    explicit Base(QString type) : mType(std::move(type)) {}
    QString typeName() const override { return mType; }
    // Engine failures reach the program as automation failures, with their text.
    automation::Value invoke(const QString& member, automation::CallKind kind,
                             const automation::Arguments& args) override
    {
        try {
            return automation::Dispatch::invoke(member, kind, args);
        } catch (const automation::AutomationError&) {
            throw;
        } catch (const std::exception& e) {
            throw automation::AutomationError(QString::fromUtf8(e.what()));
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
            throw automation::AutomationError(kNoMember);
        return *tables[static_cast<size_t>(t)];
    }
    DocPtr mDoc;
};

// Documents and a document (DocumentObjects.cpp).
automation::ObjectPtr makeDocuments(ProcessorPtr processor);
automation::ObjectPtr makeDocument(DocPtr doc);

// Tables, rows and cells (TableObjects.cpp); tables count from 0 here.
automation::ObjectPtr makeTables(DocPtr doc);
automation::ObjectPtr makeTable(DocPtr doc, int table);

// The selection with its font, and a range (TextObjects.cpp).
automation::ObjectPtr makeSelection(ProcessorPtr processor);
automation::ObjectPtr makeRange(DocPtr doc);

}  // namespace wordproc::objects
