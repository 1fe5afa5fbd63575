#include "wordproc/WordApplication.h"

#include "automation/Registry.h"
#include "wordproc/Objects.h"

namespace wordproc {

using automation::Bound;
using automation::Kind;
using automation::ObjectPtr;
using automation::optionalParam;
using automation::Value;
using namespace objects;

namespace {

class WordApplicationObject : public Base, public std::enable_shared_from_this<WordApplicationObject> {
public:
    WordApplicationObject() : Base(QStringLiteral("Word.Application")), mProcessor(std::make_shared<WordProcessor>())
    {
        addProperty(QStringLiteral("Documents"), std::nullopt, {}, [this](const Bound&) {
            mProcessor->ensureRunning();
            return Value(makeDocuments(mProcessor));
        });
        addProperty(QStringLiteral("ActiveDocument"), std::nullopt, {},
                    [this](const Bound&) { return Value(makeDocument(mProcessor->activeDocument())); });
        addProperty(QStringLiteral("Selection"), std::nullopt, {}, [this](const Bound&) {
            mProcessor->activeDocument();
            return Value(makeSelection(mProcessor));
        });
        addProperty(QStringLiteral("Application"), std::nullopt, {},
                    [this](const Bound&) { return Value(ObjectPtr(shared_from_this())); });
        addProperty(
            QStringLiteral("DisplayAlerts"), Kind::Long, {},
            [this](const Bound&) { return Value(qint32(mProcessor->displayAlerts ? -1 : 0)); },
            [this](const Bound&, const Value& v) {
                mProcessor->ensureRunning();
                mProcessor->displayAlerts = v.toLong() != 0;
            });
        addProperty(
            QStringLiteral("Visible"), Kind::Boolean, {}, [this](const Bound&) { return Value(mProcessor->visible); },
            [this](const Bound&, const Value& v) { mProcessor->visible = v.toBool(); });
        addMethod(QStringLiteral("Quit"),
                  {optionalParam(QStringLiteral("SaveChanges")), optionalParam(QStringLiteral("OriginalFormat")),
                   optionalParam(QStringLiteral("RouteDocument"))},
                  [this](const Bound&) {
                      mProcessor->quit();
                      return Value();
                  });
    }

private:
    ProcessorPtr mProcessor;
};

}  // namespace

ObjectPtr createWordApplication() { return std::make_shared<WordApplicationObject>(); }

void registerComponent()
{
    automation::Registry::instance().add(QStringLiteral("Word.Application"), createWordApplication);
}

}  // namespace wordproc
