#pragma once

#include "automation/WordConstants.h"
#include "wordproc/Model.h"
#include "wordproc/Position.h"

#include <QString>
#include <limits>
#include <memory>
#include <vector>

namespace wordproc {

class Application;
class Document;
struct PageLayout;

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

// An open document: its model, file, selection and page layout.
class Document {
public:
    Document(Application& app, DocumentModel model, QString path, bool readOnly);
    ~Document();

    DocumentModel& model() { return mModel; }
    const DocumentModel& model() const { return mModel; }
    const QString& path() const { return mPath; }
    QString name() const;
    bool readOnly() const { return mReadOnly; }
    bool isClosed() const { return mClosed; }
    bool saved() const { return !mChanged; }
    Selection& selection() { return mSelection; }
    Application& application() { return mApp; }

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
    Application& mApp;
    DocumentModel mModel;
    QString mPath;
    bool mReadOnly;
    bool mClosed = false;
    bool mChanged = false;
    Selection mSelection;
    std::unique_ptr<PageLayout> mLayout;
};

// One instance of the word processor: its open documents and the active one.
class Application {
public:
    Application();
    ~Application();

    std::shared_ptr<Document> open(const QString& path, bool readOnly);
    const std::vector<std::shared_ptr<Document>>& documents() const { return mDocuments; }
    std::shared_ptr<Document> activeDocument() const;  // throws when none is open
    Selection& selection() const { return activeDocument()->selection(); }

    bool displayAlerts = true;
    bool visible = false;

    // Closes every document without saving; the instance is then gone.
    void quit();
    bool hasQuit() const { return mQuit; }
    void ensureRunning() const;

private:
    friend class Document;
    void forget(Document* doc);

    std::vector<std::shared_ptr<Document>> mDocuments;
    bool mQuit = false;
};

}  // namespace wordproc
