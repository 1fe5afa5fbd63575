#pragma once

#include "automation/WordConstants.h"
#include "wordproc/Model.h"
#include "wordproc/Selection.h"

#include <QString>
#include <limits>
#include <memory>

namespace wordproc {

class WordProcessor;
struct PageLayout;

// An open document: its model, file, selection and page layout.
class Document {
public:
    Document(WordProcessor& processor, DocumentModel model, QString path, bool readOnly);
    ~Document();

    DocumentModel& model() { return mModel; }
    const DocumentModel& model() const { return mModel; }
    const QString& path() const { return mPath; }
    QString name() const;
    bool readOnly() const { return mReadOnly; }
    bool isClosed() const { return mClosed; }
    bool saved() const { return !mChanged; }
    Selection& selection() { return mSelection; }
    WordProcessor& wordProcessor() { return mProcessor; }

    // Writes the document under a new name; a read-only document refuses its own.
    void saveAs(const QString& path);
    // Asking (the default) discards changes in a hidden instance.
    void close(int saveChanges = automation::word::wdPromptToSaveChanges);

    // The layout of the document as it is now (built again after any change).
    // With a number of pages, only that many need to have begun.
    const PageLayout& layout(int pages = std::numeric_limits<int>::max());
    int pageCount();
    void changed();

    // Throws when the document has been closed.
    void ensureOpen() const;

private:
    WordProcessor& mProcessor;
    DocumentModel mModel;
    QString mPath;
    bool mReadOnly;
    bool mClosed = false;
    bool mChanged = false;
    Selection mSelection;
    std::unique_ptr<PageLayout> mLayout;
};

}  // namespace wordproc
