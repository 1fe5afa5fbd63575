#pragma once

#include "meeting/Fields.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace app {
class Guard;
}

namespace meeting {

// The settings keys of a field: written under its key, read under its name,
// a topic field's followed by the topic index.
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

// "Clear/Reset Data" and "Load Sample/Example Data": steps 100, 102 and so
// on of the guard the window armed for its command.
void resetRecord(RecordFields& fields, app::Guard& guard);
void loadSampleRecord(RecordFields& fields, app::Guard& guard);

}  // namespace meeting
