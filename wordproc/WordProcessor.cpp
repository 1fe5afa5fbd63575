#include "wordproc/WordProcessor.h"

#include "automation/WordConstants.h"
#include "wordproc/Package.h"

namespace word = automation::word;

namespace wordproc {

WordProcessor::WordProcessor() = default;
WordProcessor::~WordProcessor() = default;

void WordProcessor::ensureRunning() const
{
    if (mQuit)
        throw DocumentError(QStringLiteral("The word processor has quit"));
}

std::shared_ptr<Document> WordProcessor::open(const QString& path, bool readOnly)
{
    ensureRunning();
    auto doc = std::make_shared<Document>(*this, loadPackage(path), path, readOnly);
    mDocuments.push_back(doc);
    return doc;
}

std::shared_ptr<Document> WordProcessor::activeDocument() const
{
    ensureRunning();
    if (mDocuments.empty())
        throw DocumentError(QStringLiteral("This command is not available because no document is open."));
    return mDocuments.back();
}

void WordProcessor::forget(Document* doc)
{
    std::erase_if(mDocuments, [doc](const auto& d) { return d.get() == doc; });
}

void WordProcessor::quit()
{
    ensureRunning();
    while (!mDocuments.empty())
        mDocuments.back()->close(word::wdDoNotSaveChanges);
    mQuit = true;
}

}  // namespace wordproc
