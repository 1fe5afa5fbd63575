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

// The key the number of agenda topics is kept under. A store without it holds
// one topic, as every store did before a meeting could have more.
inline constexpr char kTopicCountKey[] = "intTopicCount";

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
    // The number of agenda topics the window holds; setting it adds empty
    // topics after the last or takes the last ones away, and writes nothing.
    virtual int topicCount() const = 0;
    virtual void setTopicCount(int count) = 0;
};

// The write-on-change rule: the field's whole value under its key.
void saveText(Field f, int topic, const QString& text);
void saveDateTime(const QDateTime& value);
void saveDeadline(Field f, int topic, const MaybeDate& value);

// The number of topics, and every key of the topics between the old number
// and the new written empty: a topic taken away leaves no text under keys the
// restore no longer reads, and a topic added starts empty. Belongs in the
// OneWrite of the change it completes.
void saveTopicCount(int count, int oldCount);

// The restore of start-up, each step guarded on its own: 130 to 182 for the
// header, topic 0 and the footer; 186 the number of topics; then each further
// topic i in the steps of topic 0's fields plus 1000 × i (topic 1: 1148 to
// 1176; topic 49: 49148 to 49176), so that a report names field and topic.
void restoreRecord(RecordFields& fields, app::Guard& guard);

// "Clear/Reset Data" and "Load Sample/Example Data": steps 100, 102 and so
// on of the guard the window armed for its command, one for each field, and
// a last one that leaves a single topic.
void resetRecord(RecordFields& fields, app::Guard& guard);
void loadSampleRecord(RecordFields& fields, app::Guard& guard);

}  // namespace meeting
