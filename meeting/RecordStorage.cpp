#include "meeting/RecordStorage.h"

#include "app/Clock.h"
#include "app/Guard.h"
#include "meeting/DateText.h"
#include "meeting/SettingsStore.h"

#include <algorithm>
#include <stdexcept>

namespace meeting {

namespace {

void save(const QString& key, const QString& value)
{
    SaveSetting(QLatin1String(kApplication), QLatin1String(kSection), key, value);
}

QString read(const QString& key, const QString& fallback)
{
    return GetSetting(QLatin1String(kApplication), QLatin1String(kSection), key, fallback);
}

}  // namespace

QString writeKey(Field f, int topic)
{
    const QString key = QLatin1String(facts(f).key);
    return isTopicField(f) ? key + QString::number(topic) : key;
}

QString readKey(Field f, int topic) { return isTopicField(f) ? fieldName(f) + QString::number(topic) : fieldName(f); }

void saveText(Field f, int topic, const QString& text) { save(writeKey(f, topic), text); }

void saveDateTime(const QDateTime& value) { save(writeKey(Field::dtpDateTime), dateToText(value)); }

void saveDeadline(Field f, int topic, const MaybeDate& value)
{
    save(writeKey(f, topic), value ? dateToText(*value) : QString());
}

void saveTopicCount(int count, int oldCount)
{
    for (int topic = std::min(count, oldCount); topic < std::max(count, oldCount); ++topic)
        for (const FieldFacts& f : kFields)
            if (f.topic)
                save(writeKey(f.field, topic), QString());
    save(QLatin1String(kTopicCountKey), QString::number(count));
}

namespace {

// The restore's own order; the footer comes back resource persons first.
constexpr Field kRestoreOrder[] = {
    Field::txtTitle,       Field::txtMeetingCalledBy, Field::txtMeetingLocation, Field::txtTypeOfMeeting,
    Field::txtFacilitator, Field::txtNoteTaker,       Field::txtTimekeeper,      Field::txtAttendees,
    Field::dtpDateTime,    Field::txtTimeAlloted,     Field::txtTopic,           Field::txtPresenter,
    Field::txtDiscussion1, Field::txtDiscussion2,     Field::txtDiscussion3,     Field::txtConclusion1,
    Field::txtConclusion2, Field::txtConclusion3,     Field::txtAction1,         Field::txtAction2,
    Field::txtPerson1,     Field::txtPerson2,         Field::dtpDeadlin1,        Field::dtpDeadline2,
    Field::txtResource,    Field::txtObservers,       Field::txtNotes,
};
constexpr int kFirstRestoreStep = 130;
constexpr int kTopicCountStep = 186;
constexpr int kStepsPerTopic = 1000;

void restoreField(RecordFields& fields, Field f, int topic)
{
    const QString key = readKey(f, topic);
    switch (kindOf(f)) {
    case FieldKind::Text: fields.assignText(f, topic, read(key, QString())); break;
    case FieldKind::DateTime: {
        const QString today = dateToText(QDateTime(app::clock::now().date(), QTime(0, 0), Qt::UTC));
        fields.assignDateTime(textToDate(read(key, today)));
        break;
    }
    case FieldKind::Deadline: {
        const QString text = read(key, QString());
        fields.assignDeadline(f, topic, text.isEmpty() ? MaybeDate() : MaybeDate(textToDate(text)));
        break;
    }
    }
}

int storedTopicCount()
{
    const QString text = read(QLatin1String(kTopicCountKey), QStringLiteral("1"));
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1 || count > kMostTopics) {
        throw std::runtime_error(
            QStringLiteral("Type mismatch: the stored number of agenda topics '%1' is not a whole number from 1 to %2")
                .arg(quotedInMessage(text))
                .arg(kMostTopics)
                .toStdString());
    }
    return count;
}

}  // namespace

void restoreRecord(RecordFields& fields, app::Guard& g)
{
    int line = kFirstRestoreStep;
    for (const Field f : kRestoreOrder) {
        g.step(line, [&] { restoreField(fields, f, 0); });
        line += 2;
    }
    // Read only now, so that a store of one topic restores exactly as before.
    g.step(kTopicCountStep, [&] { fields.setTopicCount(storedTopicCount()); });
    for (int topic = 1; topic < fields.topicCount(); ++topic) {
        line = kFirstRestoreStep;
        for (const Field f : kRestoreOrder) {
            if (isTopicField(f))
                g.step(kStepsPerTopic * topic + line, [&] { restoreField(fields, f, topic); });
            line += 2;
        }
    }
}

namespace {

// One field of a command, guarded on its own: a text field takes its text, the
// meeting's date and time the moment of the click.
void assign(RecordFields& fields, Field f, const char* text)
{
    if (kindOf(f) == FieldKind::DateTime)
        fields.assignDateTime(app::clock::now());
    else
        fields.assignText(f, 0, QString::fromUtf8(text));
}

// The steps of a command are the lines 100, 102 and so on, one for each field.
// The step after the fields leaves one topic, the first.
template <class List, class Assign>
void inSteps(RecordFields& fields, app::Guard& g, const List& list, Assign assignOne)
{
    int line = 100;
    for (const auto& item : list) {
        g.step(line, [&] { assignOne(item); });
        line += 2;
    }
    g.step(line, [&] {
        const int count = fields.topicCount();
        if (count == 1)
            return;  // a meeting of one topic: nothing more to write, as ever
        OneWrite together;
        fields.setTopicCount(1);
        saveTopicCount(1, count);
    });
}

}  // namespace

void resetRecord(RecordFields& fields, app::Guard& g)
{
    // The deadlines are not part of the reset: they keep their date or absence.
    static constexpr Field reset[] = {
        Field::txtTitle,         Field::dtpDateTime,    Field::txtMeetingLocation, Field::txtMeetingCalledBy,
        Field::txtTypeOfMeeting, Field::txtFacilitator, Field::txtNoteTaker,       Field::txtTimekeeper,
        Field::txtAttendees,     Field::txtTimeAlloted, Field::txtTopic,           Field::txtPresenter,
        Field::txtDiscussion1,   Field::txtDiscussion2, Field::txtDiscussion3,     Field::txtConclusion1,
        Field::txtConclusion2,   Field::txtConclusion3, Field::txtAction1,         Field::txtPerson1,
        Field::txtAction2,       Field::txtPerson2,     Field::txtObservers,       Field::txtResource,
        Field::txtNotes,
    };
    inSteps(fields, g, reset, [&](Field f) { assign(fields, f, ""); });
}

void loadSampleRecord(RecordFields& fields, app::Guard& g)
{
    struct Assignment {
        Field field;
        const char* text;  // none for the meeting's date and time
    };
    // The fields the sample leaves out (the third discussion line, the last two
    // conclusions, the second action and both deadlines) keep what they hold.
    static constexpr Assignment sample[] = {
        {Field::txtTitle, "BIG MEETING"},
        {Field::dtpDateTime, nullptr},
        {Field::txtMeetingLocation, "Conference Room B"},
        {Field::txtMeetingCalledBy, "Orrin Vasque"},
        {Field::txtTypeOfMeeting, "Informative"},
        {Field::txtFacilitator, "Hale Dorrance"},
        {Field::txtNoteTaker, "Mira Calloway"},
        {Field::txtTimekeeper, "Tobias Renwick"},
        {Field::txtAttendees, "Everyone"},
        {Field::txtTimeAlloted, "30 minutes"},
        {Field::txtTopic, "Penguin Meeting"},
        {Field::txtPresenter, "Orrin Vasque"},
        {Field::txtDiscussion1, "Penguins are black and white."},
        {Field::txtDiscussion2, "Some old TV shows are black and white."},
        {Field::txtConclusion1, "Therefore, some penguins are old TV shows."},
        {Field::txtAction1, "Watch March Of The Penguins"},
        {Field::txtPerson1, "Lio Vasque"},
        {Field::txtObservers, "Spider in back right corner of conference room"},
        {Field::txtResource, "Ansel Marrow"},
        {Field::txtNotes, "None"},
    };
    inSteps(fields, g, sample, [&](const Assignment& a) { assign(fields, a.field, a.text); });
}

}  // namespace meeting
