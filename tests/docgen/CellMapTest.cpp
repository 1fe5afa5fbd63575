// The meeting typed into the template as the program does it, with three
// and with fifty topics, checked cell by cell against the cell map written out here from
// the design: which field goes in which cell, in which size, capitals or not.
#include "docgen/TemplateFilling.h"
#include "meeting/DateText.h"
#include "tests/support/GenerationDoubles.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"
#include "wordproc/WordApplication.h"

#include <gtest/gtest.h>

using meeting::Field;

namespace {

// A meeting of `topics` topics with a text of its own in every field of every
// topic, and its own date in every deadline but one.
void fillTopics(testing_support::RecordingHost& host, int topics)
{
    host.lastTopic = topics - 1;
    host.dateTime = QDateTime(QDate(2026, 12, 7), QTime(13, 5), Qt::UTC);
    for (int topic = 0; topic < topics; ++topic) {
        for (int f = 0; f < 27; ++f)
            host.texts[{Field(f), topic}] = QStringLiteral("field %1 of topic %2").arg(f).arg(topic);
        host.deadlines[{Field::dtpDeadlin1, topic}] = QDateTime(QDate(2027, 1, 1).addDays(topic), QTime(0, 0), Qt::UTC);
        if (topic != 1)
            host.deadlines[{Field::dtpDeadline2, topic}] =
                QDateTime(QDate(2027, 6, 1).addDays(topic), QTime(0, 0), Qt::UTC);
    }
}

struct CellOf {
    int row, cell;  // 1-based, as the design counts
    QString text;
    double size;
    bool caps;
};

}  // namespace

class CellMap : public testing::TestWithParam<int> {};

TEST_P(CellMap, EveryFieldOfEveryTopicIsTypedIntoItsCellWithItsFormat)
{
    const int topics = GetParam();
    testing_support::ProgramFolders folders;
    testing_support::ScriptedDialogs dialogs;
    const testing_support::LocaleOverride locale(QLocale(QStringLiteral("en_US")));
    wordproc::registerComponent();
    testing_support::RecordingHost host;
    fillTopics(host, topics);
    docgen::fillTemplate(host);
    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text.toStdString();
    ASSERT_EQ(host.port.shownCount, 1);

    const auto t = [&](Field f, int topic = 0) { return host.text(f, topic); };
    const auto deadline = [&](Field f, int topic) { return docgen::deadlineText(host.deadline(f, topic)); };
    std::vector<CellOf> table1 = {
        {1, 1, t(Field::txtTitle), 20, false},          {2, 2, QStringLiteral("07-Dec-2026"), 8, true},
        {2, 3, QStringLiteral("01:05 PM"), 8, true},    {2, 4, t(Field::txtMeetingLocation), 8, true},
        {4, 2, t(Field::txtMeetingCalledBy), 8, false}, {5, 2, t(Field::txtTypeOfMeeting), 8, false},
        {6, 2, t(Field::txtFacilitator), 8, false},     {7, 2, t(Field::txtNoteTaker), 8, false},
        {8, 2, t(Field::txtTimekeeper), 8, false},      {9, 2, t(Field::txtAttendees), 8, false},
    };
    for (int k = 0; k < topics; ++k) {
        const int r = 12 + 11 * k;
        const std::vector<CellOf> block = {
            {r, 1, t(Field::txtTimeAlloted, k), 8, true},
            {r, 2, t(Field::txtTopic, k), 8, true},
            {r, 3, t(Field::txtPresenter, k), 8, true},
            {r + 1, 2, t(Field::txtDiscussion1, k), 8, false},
            {r + 2, 1, t(Field::txtDiscussion2, k), 8, false},
            {r + 3, 1, t(Field::txtDiscussion3, k), 8, false},
            {r + 4, 2, t(Field::txtConclusion1, k), 8, false},
            {r + 5, 1, t(Field::txtConclusion2, k), 8, false},
            {r + 6, 1, t(Field::txtConclusion3, k), 8, false},
            {r + 8, 1, t(Field::txtAction1, k), 8, false},
            {r + 8, 2, t(Field::txtPerson1, k), 8, false},
            {r + 8, 3, deadline(Field::dtpDeadlin1, k), 8, false},
            {r + 9, 1, t(Field::txtAction2, k), 8, false},
            {r + 9, 2, t(Field::txtPerson2, k), 8, false},
            {r + 9, 3, deadline(Field::dtpDeadline2, k), 8, false},
            // What the copy carried along and nothing overwrote.
            {r + 1, 1, QStringLiteral("Discussion"), 7, true},
            {r + 4, 1, QStringLiteral("Conclusions"), 7, true},
            {r + 7, 1, QStringLiteral("Action items"), 7, true},
        };
        table1.insert(table1.end(), block.begin(), block.end());
    }
    const std::vector<CellOf> table2 = {
        {1, 2, t(Field::txtObservers), 8, false},
        {2, 2, t(Field::txtResource), 8, false},
        {3, 2, t(Field::txtNotes), 8, false},
    };

    wordproc::DocumentModel m = wordproc::loadPackage(host.port.wordFile);
    auto tables = m.tables();
    ASSERT_EQ(tables.size(), 2u);
    ASSERT_EQ(tables[0]->rows.size(), 23u + 11u * static_cast<size_t>(topics - 1));
    EXPECT_EQ(tables[0]->rows.back().cells.size(), 1u) << "the template's last row stays last";
    EXPECT_EQ(tables[0]->rows.back().cells[0].paragraphs[0].text(), QString());
    const auto check = [&](const wordproc::Table& table, const CellOf& c) {
        SCOPED_TRACE(QStringLiteral("row %1 cell %2: %3").arg(c.row).arg(c.cell).arg(c.text).toStdString());
        ASSERT_LE(c.row, static_cast<int>(table.rows.size()));
        const auto& row = table.rows[static_cast<size_t>(c.row - 1)];
        ASSERT_LE(c.cell, static_cast<int>(row.cells.size()));
        const auto& paragraphs = row.cells[static_cast<size_t>(c.cell - 1)].paragraphs;
        ASSERT_EQ(paragraphs.size(), 1u);
        EXPECT_EQ(paragraphs[0].text(), c.text);
        const wordproc::CharFormat f = m.resolvedChars(
            paragraphs[0], paragraphs[0].runs.empty() ? paragraphs[0].markFormat : paragraphs[0].runs[0].format);
        EXPECT_EQ(*f.name, QStringLiteral("Tahoma"));
        EXPECT_DOUBLE_EQ(*f.size, c.size);
        EXPECT_EQ(*f.allCaps, c.caps);
        if (c.size == 8 || c.size == 20) {
            EXPECT_FALSE(*f.bold);  // typed pieces are never bold
        }
    };
    for (const CellOf& c : table1)
        check(*tables[0], c);
    for (const CellOf& c : table2)
        check(*tables[1], c);
}

// Fifty topics end at row 562, far inside the row counter's 16 bits.
INSTANTIATE_TEST_SUITE_P(ThreeAndFiftyTopics, CellMap, testing::Values(3, 50));
