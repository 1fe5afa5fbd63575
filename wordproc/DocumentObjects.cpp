#include "wordproc/Objects.h"

namespace wordproc::objects {

namespace {

class DocumentObject : public DocPart {
public:
    explicit DocumentObject(DocPtr d) : DocPart(QStringLiteral("Document"), std::move(d))
    {
        addProperty(QStringLiteral("Tables"), std::nullopt, {optionalParam(QStringLiteral("Index"), Kind::Long)},
                    [this](const Bound& a) {
                        if (!a.has(0))
                            return Value(makeTables(mDoc));
                        const int t = index0(a[0], static_cast<int>(doc().model().tables().size()));
                        return Value(makeTable(mDoc, t));
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
                      return Value(makeRange(mDoc));
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

class DocumentsObject : public Base {
public:
    explicit DocumentsObject(ProcessorPtr processor)
        : Base(QStringLiteral("Documents")), mProcessor(std::move(processor))
    {
        addMethod(
            QStringLiteral("Open"),
            {required(QStringLiteral("FileName"), Kind::String), optionalParam(QStringLiteral("ConfirmConversions")),
             optionalParam(QStringLiteral("ReadOnly"), Kind::Boolean),
             optionalParam(QStringLiteral("AddToRecentFiles")), optionalParam(QStringLiteral("PasswordDocument")),
             optionalParam(QStringLiteral("PasswordTemplate")), optionalParam(QStringLiteral("Revert")),
             optionalParam(QStringLiteral("WritePasswordDocument")),
             optionalParam(QStringLiteral("WritePasswordTemplate")), optionalParam(QStringLiteral("Format")),
             optionalParam(QStringLiteral("Encoding")), optionalParam(QStringLiteral("Visible"))},
            [this](const Bound& a) {
                return Value(ObjectPtr(
                    std::make_shared<DocumentObject>(mProcessor->open(a[0].toString(), a.valueOr(2, false).toBool()))));
            });
        addProperty(QStringLiteral("Count"), Kind::Long, {}, [this](const Bound&) {
            mProcessor->ensureRunning();
            return Value(qint32(mProcessor->documents().size()));
        });
        addMethod(QStringLiteral("Item"), {required(QStringLiteral("Index"), Kind::Long)}, [this](const Bound& a) {
            mProcessor->ensureRunning();
            const auto& docs = mProcessor->documents();
            return Value(ObjectPtr(std::make_shared<DocumentObject>(
                docs[static_cast<size_t>(index0(a[0], static_cast<int>(docs.size())))])));
        });
    }

private:
    ProcessorPtr mProcessor;
};

}  // namespace

ObjectPtr makeDocuments(ProcessorPtr processor) { return std::make_shared<DocumentsObject>(std::move(processor)); }

ObjectPtr makeDocument(DocPtr doc) { return std::make_shared<DocumentObject>(std::move(doc)); }

}  // namespace wordproc::objects
