#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace app {
class Guard;
}

namespace meeting {

// Every field of the meeting record, header and footer first, then the topic.
enum class Field {
    txtTitle,
    dtpDateTime,
    txtMeetingLocation,
    txtMeetingCalledBy,
    txtTypeOfMeeting,
    txtFacilitator,
    txtNoteTaker,
    txtTimekeeper,
    txtAttendees,
    txtObservers,
    txtResource,
    txtNotes,
    // The agenda topic: arrays indexed by topic.
    txtTimeAlloted,
    txtTopic,
    txtPresenter,
    txtDiscussion1,
    txtDiscussion2,
    txtDiscussion3,
    txtConclusion1,
    txtConclusion2,
    txtConclusion3,
    txtAction1,
    txtAction2,
    txtPerson1,
    txtPerson2,
    dtpDeadlin1,
    dtpDeadline2,
};

enum class FieldKind { Text, DateTime, Deadline };

FieldKind kindOf(Field f);
bool isTopicField(Field f);
QString fieldName(Field f);

// The settings key a field is written under (topic fields: the name followed
// by the topic index). Only the timekeeper's differs between writing and
// reading; the store's case-blind keys make both one entry.
QString writeKey(Field f, int topic = 0);
QString readKey(Field f, int topic = 0);

// Deadlines and the meeting date-time: absent is an empty optional.
using MaybeDate = std::optional<QDateTime>;

// What the restore, the reset and the sample data need from the window that
// holds the record. Every assignment runs the field's change behaviour, so the
// new value reaches the store.
class RecordFields {
public:
    virtual ~RecordFields() = default;
    virtual void assignText(Field f, int topic, const QString& text) = 0;
    virtual void assignDateTime(const QDateTime& value) = 0;  // dtpDateTime
    virtual void assignDeadline(Field f, int topic, const MaybeDate& value) = 0;
};

// The write-on-change rule: the field's whole value under its key.
void saveText(Field f, int topic, const QString& text);
void saveDateTime(const QDateTime& value);
void saveDeadline(Field f, int topic, const MaybeDate& value);

// The restore of start-up, steps 130 to 182, each guarded on its own.
void restoreRecord(RecordFields& fields, app::Guard& guard);

// "Clear/Reset Data" and "Load Sample/Example Data", each a guarded procedure.
void resetRecord(RecordFields& fields);
void loadSampleRecord(RecordFields& fields);

}  // namespace meeting
