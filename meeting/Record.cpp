#include "meeting/Record.h"

#include "app/Clock.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "meeting/DateText.h"
#include "meeting/SettingsStore.h"

namespace meeting {

namespace {

const char* const kNames[] = {
    "txtTitle",       "dtpDateTime",    "txtMeetingLocation", "txtMeetingCalledBy", "txtTypeOfMeeting",
    "txtFacilitator", "txtNoteTaker",   "txtTimekeeper",      "txtAttendees",       "txtObservers",
    "txtResource",    "txtNotes",       "txtTimeAlloted",     "txtTopic",           "txtPresenter",
    "txtDiscussion1", "txtDiscussion2", "txtDiscussion3",     "txtConclusion1",     "txtConclusion2",
    "txtConclusion3", "txtAction1",     "txtAction2",         "txtPerson1",         "txtPerson2",
    "dtpDeadlin1",    "dtpDeadline2",
};

void save(const QString& key, const QString& value)
{
    SaveSetting(QLatin1String(kApplication), QLatin1String(kSection), key, value);
}

QString read(const QString& key, const QString& fallback)
{
    return GetSetting(QLatin1String(kApplication), QLatin1String(kSection), key, fallback);
}

}  // namespace

FieldKind kindOf(Field f)
{
    switch (f) {
    case Field::dtpDateTime: return FieldKind::DateTime;
    case Field::dtpDeadlin1:
    case Field::dtpDeadline2: return FieldKind::Deadline;
    default: return FieldKind::Text;
    }
}

bool isTopicField(Field f) { return f >= Field::txtTimeAlloted; }

QString fieldName(Field f) { return QLatin1String(kNames[static_cast<int>(f)]); }

QString writeKey(Field f, int topic)
{
    if (f == Field::txtTimekeeper)
        return QStringLiteral("txtTimeKeeper");
    return isTopicField(f) ? fieldName(f) + QString::number(topic) : fieldName(f);
}

QString readKey(Field f, int topic) { return isTopicField(f) ? fieldName(f) + QString::number(topic) : fieldName(f); }

void saveText(Field f, int topic, const QString& text) { save(writeKey(f, topic), text); }

void saveDateTime(const QDateTime& value) { save(writeKey(Field::dtpDateTime), dateToText(value)); }

void saveDeadline(Field f, int topic, const MaybeDate& value)
{
    save(writeKey(f, topic), value ? dateToText(*value) : QString());
}

void restoreRecord(RecordFields& fields, app::Guard& g)
{
    // The restore's own order; the footer comes back resource persons first.
    static constexpr Field order[] = {
        Field::txtTitle,       Field::txtMeetingCalledBy, Field::txtMeetingLocation, Field::txtTypeOfMeeting,
        Field::txtFacilitator, Field::txtNoteTaker,       Field::txtTimekeeper,      Field::txtAttendees,
        Field::dtpDateTime,    Field::txtTimeAlloted,     Field::txtTopic,           Field::txtPresenter,
        Field::txtDiscussion1, Field::txtDiscussion2,     Field::txtDiscussion3,     Field::txtConclusion1,
        Field::txtConclusion2, Field::txtConclusion3,     Field::txtAction1,         Field::txtAction2,
        Field::txtPerson1,     Field::txtPerson2,         Field::dtpDeadlin1,        Field::dtpDeadline2,
        Field::txtResource,    Field::txtObservers,       Field::txtNotes,
    };
    const int topic = 0;  // the store holds keys of topic 0 only
    int line = 130;
    for (const Field f : order) {
        g.step(line, [&] {
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
        });
        line += 2;
    }
}

namespace {

// One assignment of a command: a text, or the moment of the click for the
// meeting's date and time.
struct Assignment {
    Field field;
    const char* text;
};

// Each assignment is guarded on its own, with the lines 100, 102 and so on.
template <size_t N> void assignInOrder(RecordFields& fields, const char* label, const Assignment (&list)[N])
{
    app::Guard g(label);
    int line = 100;
    for (const Assignment& a : list) {
        g.step(line, [&] {
            if (a.field == Field::dtpDateTime)
                fields.assignDateTime(app::clock::now());
            else
                fields.assignText(a.field, 0, QString::fromUtf8(a.text));
        });
        line += 2;
    }
}

}  // namespace

void resetRecord(RecordFields& fields)
{
    // The deadlines are not part of the reset: they keep their date or absence.
    static constexpr Assignment reset[] = {
        {Field::txtTitle, ""},           {Field::dtpDateTime, nullptr}, {Field::txtMeetingLocation, ""},
        {Field::txtMeetingCalledBy, ""}, {Field::txtTypeOfMeeting, ""}, {Field::txtFacilitator, ""},
        {Field::txtNoteTaker, ""},       {Field::txtTimekeeper, ""},    {Field::txtAttendees, ""},
        {Field::txtTimeAlloted, ""},     {Field::txtTopic, ""},         {Field::txtPresenter, ""},
        {Field::txtDiscussion1, ""},     {Field::txtDiscussion2, ""},   {Field::txtDiscussion3, ""},
        {Field::txtConclusion1, ""},     {Field::txtConclusion2, ""},   {Field::txtConclusion3, ""},
        {Field::txtAction1, ""},         {Field::txtPerson1, ""},       {Field::txtAction2, ""},
        {Field::txtPerson2, ""},         {Field::txtObservers, ""},     {Field::txtResource, ""},
        {Field::txtNotes, ""},
    };
    assignInOrder(fields, app::label::Form1_PushButton2_Click, reset);
}

void loadSampleRecord(RecordFields& fields)
{
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
    assignInOrder(fields, app::label::Form1_PushButton3_Click, sample);
}

}  // namespace meeting
