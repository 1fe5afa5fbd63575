#pragma once

#include "meeting/RecordStorage.h"

#include <QDateTime>
#include <QString>

namespace docgen {

class PreviewPort;

// What template filling and page rendering need of the window they run for.
class GenerationHost {
public:
    virtual ~GenerationHost() = default;
    // A run: whether one is under way (a click during it does nothing), its
    // beginning and its end. The window keeps the flag, since a stop asked by
    // the system waits for the run as well; its progress counts from the beginning.
    virtual bool runUnderWay() const = 0;
    virtual void beginRun() = 0;
    virtual void endRun() = 0;
    virtual void allowRepaint(bool allow) = 0;  // repainting stopped during a run
    virtual void setMousePointer(int shape) = 0;
    virtual void hideWindow() = 0;
    // How far page rendering has come: `done` of `total` pages, first with
    // none done once the pages are counted, then after each page; and the end
    // of the progress, once the pages are rendered and before they are shown.
    // Neither fails: a run is never stopped by how it shows its progress.
    virtual void reportProgress(int done, int total) = 0;
    virtual void endProgress() = 0;
    // The record, read at the moment each piece is typed.
    virtual QString text(meeting::Field field, int topic = 0) const = 0;
    virtual QDateTime meetingDateTime() const = 0;
    virtual meeting::MaybeDate deadline(meeting::Field field, int topic) const = 0;
    virtual int lastTopicIndex() const = 0;
    // The preview window, created on first use.
    virtual PreviewPort& preview() = 0;
};

}  // namespace docgen
