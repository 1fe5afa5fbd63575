#pragma once

#include "meeting/Record.h"
#include "platform/Picture.h"

#include <QString>
#include <functional>

namespace docgen {

class PreviewPort;

// What template filling needs of the window it runs for.
class GenerationHost {
public:
    virtual ~GenerationHost() = default;
    virtual bool& busy() = 0;  // mBusy
    virtual void allowRepaint(bool allow) = 0;  // repainting stopped during a run
    virtual void setMousePointer(int shape) = 0;
    virtual void hideWindow() = 0;
    // The record, read at the moment each piece is typed.
    virtual QString text(meeting::Field field, int topic = 0) const = 0;
    virtual QDateTime meetingDateTime() const = 0;
    virtual meeting::MaybeDate deadline(meeting::Field field, int topic) const = 0;
    virtual int lastTopicIndex() const = 0;
    // The preview window, created on first use.
    virtual PreviewPort& preview() = 0;
};

// "Start Creating Template": the meeting typed into the template, saved under
// a fresh name in the temporary folder, rendered page by page and shown.
void fillTemplate(GenerationHost& host);

// Renders a saved document page by page into the preview's page list and pictures.
void SaveDocAsJPG(GenerationHost& host, const QString& inFile);

// The picture the clipboard holds, in up to 1000 tries without waiting; a
// null picture when every try failed.
platform::Picture GetClipboardPicture(qint32 format);

// The clipboard read of one try: throws when the clipboard holds no picture.
// Tests stand their own in; an empty one restores the system clipboard's.
using ClipboardRead = std::function<platform::Picture(qint32)>;
void setClipboardRead(ClipboardRead read);

// The date and time texts of the header, and a deadline's text.
QString meetingDateText(const QDateTime& value);
QString meetingTimeText(const QDateTime& value);
QString deadlineText(const meeting::MaybeDate& value);

}  // namespace docgen
