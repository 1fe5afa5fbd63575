#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <cstddef>

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

// A meeting has one agenda topic or more, up to this many; every topic has the
// topic fields below, each under its own keys.
inline constexpr int kMostTopics = 50;

// A cell of the minutes template, counted from 1 as the template counts them.
// A topic field's row is the one it has in the template's own topic; the
// copies for later topics follow it.
struct TemplateCell {
    int table = 0, row = 0, cell = 0;
};

// All that the program knows of one field, in one place: the window names its
// control after it and labels it with its caption, the store keeps it under its
// key, and template filling types it into its cell.
struct FieldFacts {
    Field field;
    const char* name;  // the control's name, and the key the store is read under
    FieldKind kind;
    bool topic;  // one per agenda topic: its keys end in the topic's index
    const char* key;  // the key the store is written under
    TemplateCell cell;  // where it is typed; the meeting's date there
    TemplateCell timeCell;  // the meeting's time; no cell for any other field
    qint16 points;  // the size it is typed in
    bool caps;  // typed in capitals
    const char* caption;  // what the window's label says, and what a screen reader announces
    int line;  // where one caption stands for several fields: this field's line (1, 2, 3); else 0
};

// Only the timekeeper is written under a key of its own spelling; the store's
// case-blind keys make it the same entry it is read from.
// clang-format off
inline constexpr auto kFields = [] {
    using enum Field;
    using enum FieldKind;
    return std::to_array<FieldFacts>({
    // field            name                  kind      topic  written key           cell        time cell  pt  caps   caption               line
    {txtTitle,           "txtTitle",           Text,     false, "txtTitle",           {1, 1, 1},  {},        20, false, "Meeting Title",       0},
    {dtpDateTime,        "dtpDateTime",        DateTime, false, "dtpDateTime",        {1, 2, 2},  {1, 2, 3}, 8,  true,  "Meeting Date & Time", 0},
    {txtMeetingLocation, "txtMeetingLocation", Text,     false, "txtMeetingLocation", {1, 2, 4},  {},        8,  true,  "Meeting Location",    0},
    {txtMeetingCalledBy, "txtMeetingCalledBy", Text,     false, "txtMeetingCalledBy", {1, 4, 2},  {},        8,  false, "Meeting Called By",   0},
    {txtTypeOfMeeting,   "txtTypeOfMeeting",   Text,     false, "txtTypeOfMeeting",   {1, 5, 2},  {},        8,  false, "Type of Meeting",     0},
    {txtFacilitator,     "txtFacilitator",     Text,     false, "txtFacilitator",     {1, 6, 2},  {},        8,  false, "Facilitator",         0},
    {txtNoteTaker,       "txtNoteTaker",       Text,     false, "txtNoteTaker",       {1, 7, 2},  {},        8,  false, "Note Taker",          0},
    {txtTimekeeper,      "txtTimekeeper",      Text,     false, "txtTimeKeeper",      {1, 8, 2},  {},        8,  false, "Timekeeper",          0},
    {txtAttendees,       "txtAttendees",       Text,     false, "txtAttendees",       {1, 9, 2},  {},        8,  false, "Attendees",           0},
    {txtObservers,       "txtObservers",       Text,     false, "txtObservers",       {2, 1, 2},  {},        8,  false, "Observers",           0},
    {txtResource,        "txtResource",        Text,     false, "txtResource",        {2, 2, 2},  {},        8,  false, "Resource Persons",    0},
    {txtNotes,           "txtNotes",           Text,     false, "txtNotes",           {2, 3, 2},  {},        8,  false, "Special Notes",       0},
    {txtTimeAlloted,     "txtTimeAlloted",     Text,     true,  "txtTimeAlloted",     {1, 12, 1}, {},        8,  true,  "Time Alloted",        0},
    {txtTopic,           "txtTopic",           Text,     true,  "txtTopic",           {1, 12, 2}, {},        8,  true,  "Agenda Topic",        0},
    {txtPresenter,       "txtPresenter",       Text,     true,  "txtPresenter",       {1, 12, 3}, {},        8,  true,  "Presenter",           0},
    {txtDiscussion1,     "txtDiscussion1",     Text,     true,  "txtDiscussion1",     {1, 13, 2}, {},        8,  false, "Discussion",          1},
    {txtDiscussion2,     "txtDiscussion2",     Text,     true,  "txtDiscussion2",     {1, 14, 1}, {},        8,  false, "Discussion",          2},
    {txtDiscussion3,     "txtDiscussion3",     Text,     true,  "txtDiscussion3",     {1, 15, 1}, {},        8,  false, "Discussion",          3},
    {txtConclusion1,     "txtConclusion1",     Text,     true,  "txtConclusion1",     {1, 16, 2}, {},        8,  false, "Conclusions",         1},
    {txtConclusion2,     "txtConclusion2",     Text,     true,  "txtConclusion2",     {1, 17, 1}, {},        8,  false, "Conclusions",         2},
    {txtConclusion3,     "txtConclusion3",     Text,     true,  "txtConclusion3",     {1, 18, 1}, {},        8,  false, "Conclusions",         3},
    {txtAction1,         "txtAction1",         Text,     true,  "txtAction1",         {1, 20, 1}, {},        8,  false, "Action Items",        1},
    {txtAction2,         "txtAction2",         Text,     true,  "txtAction2",         {1, 21, 1}, {},        8,  false, "Action Items",        2},
    {txtPerson1,         "txtPerson1",         Text,     true,  "txtPerson1",         {1, 20, 2}, {},        8,  false, "Person Responsible",  1},
    {txtPerson2,         "txtPerson2",         Text,     true,  "txtPerson2",         {1, 21, 2}, {},        8,  false, "Person Responsible",  2},
    {dtpDeadlin1,        "dtpDeadlin1",        Deadline, true,  "dtpDeadlin1",        {1, 20, 3}, {},        8,  false, "Deadline",            1},
    {dtpDeadline2,       "dtpDeadline2",       Deadline, true,  "dtpDeadline2",       {1, 21, 3}, {},        8,  false, "Deadline",            2},
    });
}();
// clang-format on

namespace detail {
constexpr bool rowsFollowTheFields()
{
    for (std::size_t i = 0; i < kFields.size(); ++i)
        if (kFields[i].field != static_cast<Field>(i))
            return false;
    return true;
}
}  // namespace detail

static_assert(kFields.size() == 27, "one row for each of the 27 fields");
static_assert(detail::rowsFollowTheFields(), "row i describes Field(i)");

constexpr const FieldFacts& facts(Field f) { return kFields[static_cast<std::size_t>(f)]; }
constexpr FieldKind kindOf(Field f) { return facts(f).kind; }
constexpr bool isTopicField(Field f) { return facts(f).topic; }
inline QString fieldName(Field f) { return QLatin1String(facts(f).name); }
inline QString fieldCaption(Field f) { return QLatin1String(facts(f).caption); }
// The caption, with the field's line where one caption stands for several ("Discussion 2").
inline QString spokenCaption(Field f)
{
    return facts(f).line == 0 ? fieldCaption(f) : fieldCaption(f) + QLatin1Char(' ') + QString::number(facts(f).line);
}

}  // namespace meeting
