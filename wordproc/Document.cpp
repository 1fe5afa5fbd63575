#include "wordproc/Document.h"

#include "wordproc/Layout.h"
#include "wordproc/Package.h"
#include "wordproc/WordProcessor.h"

#include <QFileInfo>

namespace word = automation::word;

namespace wordproc {

Document::Document(WordProcessor& processor, DocumentModel model, QString path, bool readOnly)
    : mProcessor(processor), mModel(std::move(model)), mPath(std::move(path)), mReadOnly(readOnly), mSelection(*this)
{}

Document::~Document() = default;

QString Document::name() const { return QFileInfo(mPath).fileName(); }

void Document::ensureOpen() const
{
    if (mClosed)
        throw DocumentError(QStringLiteral("The document '%1' has been closed").arg(name()));
}

void Document::changed()
{
    mChanged = true;
    mLayout.reset();
}

const PageLayout& Document::layout(int pages)
{
    if (!mLayout || (!mLayout->complete && static_cast<int>(mLayout->pages.size()) < pages))
        mLayout = std::make_unique<PageLayout>(layoutDocument(mModel, pages));
    return *mLayout;
}

int Document::pageCount() { return static_cast<int>(layout().pages.size()); }

void Document::saveAs(const QString& path)
{
    ensureOpen();
    if (path.isEmpty())
        throw DocumentError(QStringLiteral("SaveAs needs a file name"));
    const QFileInfo target(path), own(mPath);
    if (mReadOnly
        && (target.absoluteFilePath() == own.absoluteFilePath()
            || (target.exists() && own.exists() && target.canonicalFilePath() == own.canonicalFilePath())))
        throw DocumentError(
            QStringLiteral("'%1' was opened read-only and can't be saved under its own name").arg(name()));
    DocumentModel out = mModel;
    out.isTemplate = false;
    out.properties.modified = QDateTime::currentDateTimeUtc();
    if (!out.properties.created.isValid())
        out.properties.created = out.properties.modified;
    savePackage(out, path, pageCount());
    mModel.isTemplate = false;
    mPath = path;
    mReadOnly = false;
    mChanged = false;
}

void Document::close(int saveChanges)
{
    ensureOpen();
    if (saveChanges == word::wdSaveChanges && mChanged)
        saveAs(mPath);
    mClosed = true;
    mProcessor.forget(this);
}

}  // namespace wordproc
