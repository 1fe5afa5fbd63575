#pragma once

#include "wordproc/Document.h"

#include <QString>
#include <memory>
#include <vector>

namespace wordproc {

// One instance of the word processor: its open documents and the active one.
class WordProcessor {
public:
    WordProcessor();
    ~WordProcessor();

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
