#pragma once

#include "docgen/GenerationHost.h"
#include "docgen/PreviewPort.h"
#include "meeting/RecordStorage.h"

#include <QStringList>
#include <functional>
#include <map>
#include <utility>
#include <vector>

// Stand-ins for the windows document generation runs for: what they were
// given, and what the run did to them.
namespace testing_support {

// The preview as page rendering fills it.
class RecordingPreview : public docgen::PreviewPort {
public:
    void clearPages() override;
    void addPage(const QString& text) override;
    bool hasImage(int index) const override;
    void loadImage(int index) override;
    const platform::Picture& imagePicture(int index) const override;
    void setImagePicture(int index, platform::Picture picture) override;
    void showImage(int index) override { shown = imagePicture(index); }
    void setWordFile(const QString& path) override { wordFile = path; }
    void setDocumentTitle(const QString& title) override { documentTitle = title; }
    void showPreview() override { ++shownCount; }

    int pageCount() const { return static_cast<int>(pages.size()); }

    QStringList pages;
    std::vector<platform::Picture> images{1};  // element 0 always exists, as the window's
    platform::Picture shown;
    QString wordFile;
    QString documentTitle;
    int shownCount = 0;
    // Runs as each page is added, between the save of its picture and its load.
    std::function<void()> onAddPage;
};

// The entry window as generation sees it: a meeting record (filled as the
// restore, the reset and the sample fill the window's) and the window's state.
class RecordingHost : public docgen::GenerationHost, public meeting::RecordFields {
public:
    bool runUnderWay() const override { return mBusy; }
    void beginRun() override { mBusy = true; }
    void endRun() override { mBusy = false; }
    void allowRepaint(bool allow) override { repaintAllowed = allow; }
    void setMousePointer(int shape) override { pointerShape = shape; }
    void hideWindow() override { hidden = true; }
    void reportProgress(int done, int total) override { progress << QStringLiteral("%1/%2").arg(done).arg(total); }
    void endProgress() override { progress << QStringLiteral("end"); }
    QString text(meeting::Field f, int topic = 0) const override;
    QDateTime meetingDateTime() const override { return dateTime; }
    meeting::MaybeDate deadline(meeting::Field f, int topic) const override;
    int lastTopicIndex() const override { return lastTopic; }
    docgen::PreviewPort& preview() override { return port; }

    void assignText(meeting::Field f, int topic, const QString& value) override { texts[{f, topic}] = value; }
    void assignDateTime(const QDateTime& value) override { dateTime = value; }
    void assignDeadline(meeting::Field f, int topic, const meeting::MaybeDate& value) override
    {
        deadlines[{f, topic}] = value;
    }
    int topicCount() const override { return lastTopic + 1; }
    void setTopicCount(int count) override { lastTopic = count - 1; }

    // Empty texts and no deadlines unless assigned.
    std::map<std::pair<meeting::Field, int>, QString> texts;
    std::map<std::pair<meeting::Field, int>, meeting::MaybeDate> deadlines;
    QDateTime dateTime;
    int lastTopic = 0;
    bool repaintAllowed = true;
    bool hidden = false;
    int pointerShape = 0;
    QStringList progress;  // "done/total" per report, "end" at the end
    RecordingPreview port;

private:
    bool mBusy = false;
};

}  // namespace testing_support
