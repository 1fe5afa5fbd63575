#include "entry/Form1.h"
#include "app/Clock.h"
#include "automation/Registry.h"
#include "meeting/DateText.h"
#include "meeting/IniFile.h"
#include "meeting/SettingsStore.h"
#include "platform/Units.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Ui.h"
#include "ui/Controls.h"
#include "ui/Pointer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cerrno>
#include <gtest/gtest.h>
#include <stdexcept>

using entry::Form1;
using meeting::Field;
using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

const Field kTextFields[] = {
    Field::txtTitle,       Field::txtMeetingLocation, Field::txtMeetingCalledBy, Field::txtTypeOfMeeting,
    Field::txtFacilitator, Field::txtNoteTaker,       Field::txtTimekeeper,      Field::txtAttendees,
    Field::txtObservers,   Field::txtResource,        Field::txtNotes,           Field::txtTimeAlloted,
    Field::txtTopic,       Field::txtPresenter,       Field::txtDiscussion1,     Field::txtDiscussion2,
    Field::txtDiscussion3, Field::txtConclusion1,     Field::txtConclusion2,     Field::txtConclusion3,
    Field::txtAction1,     Field::txtAction2,         Field::txtPerson1,         Field::txtPerson2,
};

class EntryWindow : public testing::Test {
protected:
    testing_support::ClockOverride clock{[this] { return now; }};
    testing_support::LocaleOverride locale{QLocale(QStringLiteral("en_US"))};

    // A start of the program: the store read afresh and the window loaded.
    std::unique_ptr<Form1> start()
    {
        folders.restart();
        auto form = std::make_unique<Form1>();
        form->Form_Load();
        return form;
    }

    QString stored(const QString& key)
    {
        meeting::IniSettingsStore fresh(folders.settings());
        return fresh.get(QStringLiteral("Tessaly"), QStringLiteral("Corvalin"), key, QStringLiteral("<missing>"));
    }
    void store(const QString& key, const QString& value)
    {
        meeting::IniSettingsStore fresh(folders.settings());
        fresh.save(QStringLiteral("Tessaly"), QStringLiteral("Corvalin"), key, value);
    }

    QStringList reportLines() const
    {
        QStringList out;
        for (const auto& b : dialogs.errorReports())
            out << b.text.section(QStringLiteral("\r\n"), 1)
                       .section(QLatin1Char('\r'), 0, 0)
                       .section(QLatin1Char(' '), -1);
        return out;
    }

    ProgramFolders folders;
    ScriptedDialogs dialogs;
    QDateTime now = at(2026, 12, 7, 13, 5, 42);
};

// Records the reads of the restore, and fails those it is told to.
class RecordingStore : public meeting::SettingsStore {
public:
    QString get(const QString&, const QString&, const QString& key, const QString& fallback) override
    {
        reads << key;
        if (failAll)
            throw std::runtime_error("The store is unreachable");
        return fallback;
    }
    void save(const QString&, const QString&, const QString& key, const QString&) override { writes << key; }
    QStringList reads, writes;
    bool failAll = false;
};

}  // namespace

TEST_F(EntryWindow, AnEmptyStoreGivesEmptyFieldsTodayAtMidnightAndNoDeadlines)
{
    auto form = start();
    EXPECT_TRUE(dialogs.boxes.empty());
    for (Field f : kTextFields)
        EXPECT_EQ(form->textField(f)->text(), QString()) << meeting::fieldName(f).toStdString();
    EXPECT_EQ(form->dtpDateTime->value(), at(2026, 12, 7));
    EXPECT_FALSE(form->dtpDeadlin1[0]->value().has_value());
    EXPECT_FALSE(form->dtpDeadline2[0]->value().has_value());
    EXPECT_FALSE(form->dtpDeadlin1[0]->checkBox()->isChecked());
    // The restore writes what it assigned straight back.
    EXPECT_EQ(stored(QStringLiteral("dtpDateTime")), QStringLiteral("12/7/2026"));
    EXPECT_EQ(stored(QStringLiteral("txtTimeKeeper")), QString());
    EXPECT_EQ(stored(QStringLiteral("dtpDeadline20")), QString());
}

TEST_F(EntryWindow, TheRestoreReadsItsKeysInOrderEachStepGuardedOnItsOwn)
{
    RecordingStore recording;
    recording.failAll = true;
    auto form = [&] {
        testing_support::SettingsStoreOverride store(&recording);
        return start();
    }();

    EXPECT_EQ(recording.reads,
              QStringList({"txtTitle",        "txtMeetingCalledBy", "txtMeetingLocation", "txtTypeOfMeeting",
                           "txtFacilitator",  "txtNoteTaker",       "txtTimekeeper",      "txtAttendees",
                           "dtpDateTime",     "txtTimeAlloted0",    "txtTopic0",          "txtPresenter0",
                           "txtDiscussion10", "txtDiscussion20",    "txtDiscussion30",    "txtConclusion10",
                           "txtConclusion20", "txtConclusion30",    "txtAction10",        "txtAction20",
                           "txtPerson10",     "txtPerson20",        "dtpDeadlin10",       "dtpDeadline20",
                           "txtResource",     "txtObservers",       "txtNotes",           "intTopicCount"}));
    QStringList lines;
    for (int n = 130; n <= 182; n += 2)
        lines << QString::number(n);
    lines << QStringLiteral("186");  // the number of topics: one is left
    EXPECT_EQ(reportLines(), lines);
    EXPECT_EQ(form->topicCount(), 1);
    for (const auto& b : dialogs.errorReports())
        EXPECT_TRUE(b.text.startsWith(
            QStringLiteral("The store is unreachable\r\nin Pondrel2021/08/31.Form1.Form_Load at line ")));
}

TEST_F(EntryWindow, ABadDateGivesOneReportAtItsStepAndEverythingElseStillRestores)
{
    store(QStringLiteral("txtTitle"), QStringLiteral("Budget"));
    store(QStringLiteral("dtpDateTime"), QStringLiteral("31.12.2026 25:61"));
    store(QStringLiteral("dtpDeadlin10"), QStringLiteral("1/2/1601"));
    store(QStringLiteral("dtpDeadline20"), QStringLiteral("12/31/1600"));  // a date, but none a picker takes
    store(QStringLiteral("txtNotes"), QStringLiteral("last"));
    auto form = start();
    EXPECT_EQ(reportLines(), QStringList({"146", "176"}));
    EXPECT_FALSE(form->dtpDeadline2[0]->value().has_value());
    EXPECT_EQ(form->txtTitle->text(), QStringLiteral("Budget"));
    EXPECT_EQ(form->txtNotes->text(), QStringLiteral("last"));
    EXPECT_EQ(form->dtpDeadlin1[0]->value(), at(1601, 1, 2));
    EXPECT_TRUE(form->dtpDeadlin1[0]->checkBox()->isChecked());
    // The picker keeps the value it had, and the bad text is left as it was.
    EXPECT_EQ(form->dtpDateTime->value(), at(2026, 12, 7));
    EXPECT_EQ(stored(QStringLiteral("dtpDateTime")), QStringLiteral("31.12.2026 25:61"));
}

TEST_F(EntryWindow, AStoredValueThatIsNotTextIsReportedAtItsStepAndTypingReplacesIt)
{
    testing_support::writeFile(folders.settings() + QStringLiteral("/Tessaly.ini"),
                               "[Corvalin]\ntxtTitle=" + testing_support::nestedListValue(40000) + "\ntxtNotes=kept\n");
    auto form = start();
    EXPECT_EQ(reportLines(), QStringList({"130"}));
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(
        dialogs.errorReports()[0].text.startsWith(QStringLiteral("The saved value of 'txtTitle' is not text\r\n")))
        << dialogs.errorReports()[0].text.toStdString();
    EXPECT_EQ(form->txtTitle->text(), QString());
    EXPECT_EQ(form->txtNotes->text(), QStringLiteral("kept"));
    QTest::keyClicks(form->txtTitle, QStringLiteral("Budget"));
    EXPECT_EQ(stored(QStringLiteral("txtTitle")), QStringLiteral("Budget"));
}

TEST_F(EntryWindow, TypingWritesTheWholeTextAtOnceAndARestartBringsItBack)
{
    {
        auto form = start();
        QTest::keyClicks(form->txtTimekeeper, QStringLiteral("Tob"));
        EXPECT_EQ(stored(QStringLiteral("txtTimekeeper")), QStringLiteral("Tob"));
        QTest::keyClicks(form->txtTimekeeper, QStringLiteral("ias"));
        QTest::keyClicks(form->txtDiscussion2[0], QStringLiteral("  spaced  "));
        form->textField(Field::txtNotes)->setText(QString(100000, QChar(0x4F1A)));
        form->dtpDeadline2[0]->checkBox()->click();  // ticked by the user: a date without a time
        EXPECT_EQ(form->dtpDeadline2[0]->value(), at(2026, 12, 7));
        EXPECT_EQ(stored(QStringLiteral("dtpDeadline20")), QStringLiteral("12/7/2026"));
        form->dtpDateTime->setValue(at(1601, 1, 1, 23, 59));
    }
    auto form = start();
    EXPECT_EQ(form->txtTimekeeper->text(), QStringLiteral("Tobias"));
    EXPECT_EQ(form->txtDiscussion2[0]->text(), QStringLiteral("  spaced  "));
    EXPECT_EQ(form->txtNotes->text(), QString(100000, QChar(0x4F1A)));
    EXPECT_EQ(form->dtpDeadline2[0]->value(), at(2026, 12, 7));
    EXPECT_EQ(form->dtpDateTime->value(), at(1601, 1, 1, 23, 59));
    EXPECT_TRUE(dialogs.boxes.empty());

    // Unticking writes the empty text: absent after the next start.
    form->dtpDeadline2[0]->checkBox()->click();
    EXPECT_EQ(stored(QStringLiteral("dtpDeadline20")), QString());
    form.reset();
    EXPECT_FALSE(start()->dtpDeadline2[0]->value().has_value());
}

TEST_F(EntryWindow, ResetEmptiesEveryTextStampsTheTimeAndLeavesTheDeadlines)
{
    auto form = start();
    form->PushButton3_Click();
    form->dtpDeadlin1[0]->setValue(at(2027, 1, 15));
    now = at(2026, 12, 8, 9, 30, 5);
    form->PushButton2->click();
    for (Field f : kTextFields)
        EXPECT_EQ(form->textField(f)->text(), QString()) << meeting::fieldName(f).toStdString();
    EXPECT_EQ(form->dtpDateTime->value(), now);
    EXPECT_EQ(form->dtpDeadlin1[0]->value(), at(2027, 1, 15));
    EXPECT_FALSE(form->dtpDeadline2[0]->value().has_value());
    EXPECT_TRUE(dialogs.boxes.empty());

    form.reset();
    auto again = start();
    EXPECT_EQ(again->txtTitle->text(), QString());
    EXPECT_EQ(again->dtpDateTime->value(), now);
    EXPECT_EQ(again->dtpDeadlin1[0]->value(), at(2027, 1, 15));
}

TEST_F(EntryWindow, TheSampleFillsItsFieldsAndKeepsWhatItDoesNotSet)
{
    auto form = start();
    form->txtDiscussion3[0]->setText(QStringLiteral("typed before"));
    form->PushButton3->click();
    EXPECT_EQ(form->txtTitle->text(), QStringLiteral("BIG MEETING"));
    EXPECT_EQ(form->txtTimekeeper->text(), QStringLiteral("Tobias Renwick"));
    EXPECT_EQ(form->txtConclusion1[0]->text(), QStringLiteral("Therefore, some penguins are old TV shows."));
    EXPECT_EQ(form->txtObservers->text(), QStringLiteral("Spider in back right corner of conference room"));
    EXPECT_EQ(form->txtDiscussion3[0]->text(), QStringLiteral("typed before"));
    for (Field f : {Field::txtConclusion2, Field::txtConclusion3, Field::txtAction2, Field::txtPerson2})
        EXPECT_EQ(form->textField(f)->text(), QString());
    EXPECT_FALSE(form->dtpDeadlin1[0]->value().has_value());
    EXPECT_EQ(form->dtpDateTime->value(), now);
    EXPECT_EQ(stored(QStringLiteral("txtPerson10")), QStringLiteral("Lio Vasque"));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(EntryWindow, EveryFieldIsWrittenUnderItsOwnKeySpelledAsDesigned)
{
    // The 27 keys as the design spells them (the timekeeper with a capital K),
    // each holding what its own field shows.
    auto form = start();
    form->PushButton3->click();
    form->dtpDeadlin1[0]->setValue(at(2027, 1, 15));
    const std::pair<const char*, QString> keys[] = {
        {"txtTitle", form->txtTitle->text()},
        {"txtMeetingCalledBy", form->txtMeetingCalledBy->text()},
        {"txtMeetingLocation", form->txtMeetingLocation->text()},
        {"txtTypeOfMeeting", form->txtTypeOfMeeting->text()},
        {"txtFacilitator", form->txtFacilitator->text()},
        {"txtNoteTaker", form->txtNoteTaker->text()},
        {"txtTimeKeeper", form->txtTimekeeper->text()},
        {"txtAttendees", form->txtAttendees->text()},
        {"dtpDateTime", meeting::dateToText(now)},
        {"txtTimeAlloted0", form->txtTimeAlloted[0]->text()},
        {"txtTopic0", form->txtTopic[0]->text()},
        {"txtPresenter0", form->txtPresenter[0]->text()},
        {"txtDiscussion10", form->txtDiscussion1[0]->text()},
        {"txtDiscussion20", form->txtDiscussion2[0]->text()},
        {"txtDiscussion30", form->txtDiscussion3[0]->text()},
        {"txtConclusion10", form->txtConclusion1[0]->text()},
        {"txtConclusion20", form->txtConclusion2[0]->text()},
        {"txtConclusion30", form->txtConclusion3[0]->text()},
        {"txtAction10", form->txtAction1[0]->text()},
        {"txtAction20", form->txtAction2[0]->text()},
        {"txtPerson10", form->txtPerson1[0]->text()},
        {"txtPerson20", form->txtPerson2[0]->text()},
        {"dtpDeadlin10", meeting::dateToText(at(2027, 1, 15))},
        {"dtpDeadline20", QString()},
        {"txtObservers", form->txtObservers->text()},
        {"txtResource", form->txtResource->text()},
        {"txtNotes", form->txtNotes->text()},
    };
    const meeting::IniFile file =
        meeting::IniFile::parse(testing_support::readAll(folders.settings() + QStringLiteral("/Tessaly.ini")));
    const QByteArray raw = testing_support::readAll(folders.settings() + QStringLiteral("/Tessaly.ini"));
    for (const auto& [key, value] : keys) {
        EXPECT_TRUE(raw.contains("\n" + QByteArray(key) + '=')) << key << " is not spelled so in the file";
        EXPECT_EQ(file.value(QStringLiteral("Corvalin"), QLatin1String(key)), std::optional<QString>(value)) << key;
    }
    EXPECT_EQ(raw.count('='), static_cast<qsizetype>(std::size(keys))) << raw.toStdString();
}

TEST_F(EntryWindow, TabVisitsTheFieldsInTheirOrderThenTheButtons)
{
    auto form = start();
    form->show();
    QApplication::setActiveWindow(form.get());
    form->txtTitle->setFocus();
    QStringList visited;
    for (int i = 0; i < 32; ++i) {
        QWidget* w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty())
            w = w->parentWidget();
        visited << (w ? w->objectName() : QStringLiteral("?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // An absent deadline's date is greyed, so Tab stops at its box only; with
    // one topic "Remove Topic" is greyed too.
    EXPECT_EQ(visited, QStringList({"txtTitle",         "dtpDateTime",    "txtMeetingLocation", "txtMeetingCalledBy",
                                    "txtTypeOfMeeting", "txtFacilitator", "txtNoteTaker",       "txtTimekeeper",
                                    "txtAttendees",     "txtTimeAlloted", "txtTopic",           "txtPresenter",
                                    "txtDiscussion1",   "txtDiscussion2", "txtDiscussion3",     "txtConclusion1",
                                    "txtConclusion2",   "txtConclusion3", "txtAction1",         "txtPerson1",
                                    "dtpDeadlin1",      "txtAction2",     "txtPerson2",         "dtpDeadline2",
                                    "txtObservers",     "txtResource",    "txtNotes",           "PushButton22",
                                    "PushButton2",      "PushButton3",    "PushButtonAddTopic", "txtTitle"}));
}

namespace {

// Input as the window system queues it: each event is routed when it is
// delivered (keys to the widget that has the focus by then, a press to the
// widget under the pointer), after everything queued before it.
void queueKeys(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        QCoreApplication::postEvent(window->windowHandle(), new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, c));
        QCoreApplication::postEvent(window->windowHandle(), new QKeyEvent(QEvent::KeyRelease, 0, Qt::NoModifier, c));
    }
}

void queueKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QCoreApplication::postEvent(window->windowHandle(), new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(window->windowHandle(), new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

void queueClick(QWidget* target)
{
    QWidget* window = target->window();
    const QPointF local = target->mapTo(window, target->rect().center());
    const QPointF global = window->mapToGlobal(local);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(window->windowHandle(),
                                    new QMouseEvent(type, local, local, global, Qt::LeftButton,
                                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                    Qt::NoModifier));
}

}  // namespace

TEST_F(EntryWindow, FocusByTabOrClickSelectsTheTextSoTypingReplacesItAndNoKeyIsLost)
{
    auto form = start();
    form->PushButton3_Click();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->txtTitle) << "typing starts in the title";

    // Tab into a field with keys already typed behind the Tab.
    form->dtpDateTime->edit()->setFocus();
    queueKey(form.get(), Qt::Key_Tab);
    queueKeys(form.get(), QStringLiteral("Room C"));
    QApplication::processEvents();
    EXPECT_EQ(form->txtMeetingLocation->text(), QStringLiteral("Room C"));

    // A click into a field, the sentence typed at full speed behind it.
    queueClick(form->txtTopic[0]);
    queueKeys(form.get(), QStringLiteral("Walruses are brown."));
    QApplication::processEvents();
    EXPECT_EQ(form->txtTopic[0]->text(), QStringLiteral("Walruses are brown."));
    EXPECT_EQ(stored(QStringLiteral("txtTopic0")), QStringLiteral("Walruses are brown."));
    EXPECT_EQ(form->VScroll1->value(), 0);
    EXPECT_EQ(form->Picture3->y(), 0);

    // The window left and come back to: the text and the caret stay.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    queueKeys(form.get(), QStringLiteral(" Y"));
    QApplication::processEvents();
    EXPECT_EQ(form->txtTopic[0]->text(), QStringLiteral("Walruses are brown. Y"));

    // The title keeps its caret on Tab and on a click.
    form->txtNotes->setFocus();
    queueKey(form.get(), Qt::Key_Tab, Qt::NoModifier);  // past the buttons to the title
    for (int i = 0; i < 4; ++i)
        queueKey(form.get(), Qt::Key_Tab);
    queueKeys(form.get(), QStringLiteral("!"));
    QApplication::processEvents();
    EXPECT_EQ(form->txtTitle->text(), QStringLiteral("BIG MEETING!"));
}

TEST_F(EntryWindow, ADeadlineIsOneTabStopTickedOrNotAndSpaceTicksIt)
{
    auto form = start();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    entry::DatePicker* deadline = form->dtpDeadlin1[0];
    const auto tabFrom = [&](QWidget* w) {
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* at = QApplication::focusWidget();
        while (at && at->objectName().isEmpty())
            at = at->parentWidget();
        return at ? at->objectName() : QString();
    };
    EXPECT_EQ(tabFrom(form->txtPerson1[0]), QStringLiteral("dtpDeadlin1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(deadline->value().has_value());
    EXPECT_EQ(stored(QStringLiteral("dtpDeadlin10")), meeting::dateToText(at(2026, 12, 7)));
    EXPECT_EQ(tabFrom(form->txtPerson1[0]), QStringLiteral("dtpDeadlin1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->txtAction2[0]) << "the ticked deadline took one stop";
    form->txtPerson1[0]->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // ticked off again, the focus stays in the picker
    EXPECT_FALSE(deadline->value().has_value());
    EXPECT_EQ(stored(QStringLiteral("dtpDeadlin10")), QString());
    EXPECT_EQ(QApplication::focusWidget(), deadline->checkBox());
}

TEST_F(EntryWindow, ThePointerIsTheHandOverTheButtonsOnlyAndStaysTheHourglassWhileBusy)
{
    auto form = start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    using testing_support::movePointerOver;
    const std::pair<QWidget*, int> path[] = {
        {form->PushButton22, ui::vbCustom},
        {form->Frame1, ui::vbDefault},
        {form->PushButton3, ui::vbCustom},
        {form->txtNotes, ui::vbDefault},
        {form->PushButton2, ui::vbCustom},
        {form->lblTopic[0], ui::vbCustom},  // captions leave the pointer as it is
        {form->VScroll1, ui::vbCustom},  // and so does the scroll bar
        {form->dtpDeadline2[0], ui::vbDefault},
        {form->findChild<QLabel*>(QStringLiteral("Label2")), ui::vbDefault},
        {form.get(), ui::vbDefault},
    };
    for (const auto& [w, shape] : path) {
        movePointerOver(w);
        EXPECT_EQ(form->pointer().shape(), shape) << w->objectName().toStdString();
    }
    movePointerOver(form->PushButton22);
    EXPECT_EQ(form->cursor().shape(), Qt::PointingHandCursor);

    form->pointer().setShape(ui::vbHourglass);
    for (QWidget* w : {static_cast<QWidget*>(form->PushButton22), static_cast<QWidget*>(form->Frame2),
                       static_cast<QWidget*>(form.get())}) {
        movePointerOver(w);
        EXPECT_EQ(form->pointer().shape(), ui::vbHourglass);
    }
}

TEST_F(EntryWindow, EveryCaptionReadsAsDesigned)
{
    auto form = start();
    const auto label = [&](const char* name) { return form->findChild<QLabel*>(QLatin1String(name))->text(); };
    const std::pair<QString, QString> captions[] = {
        {form->PushButton22->text(), QStringLiteral("Start Creating Template")},
        {form->PushButton2->text(), QStringLiteral("Clear/Reset Data")},
        {form->PushButton3->text(), QStringLiteral("Load Sample/Example Data")},
        {form->Frame1->title(), QStringLiteral("Meeting Details")},
        {form->Frame3->title(), QStringLiteral("Agenda Topics")},
        {form->Frame2->title(), QStringLiteral("Footer")},
        {label("Label1"), QStringLiteral("Meeting Title")},
        {label("Label3"), QStringLiteral("Meeting Location")},
        {label("Label4"), QStringLiteral("Meeting Called By")},
        {label("Label5"), QStringLiteral("Type of Meeting")},
        {label("Label6"), QStringLiteral("Facilitator")},
        {label("Label7"), QStringLiteral("Note Taker")},
        {label("Label8"), QStringLiteral("Timekeeper")},
        {label("Label9"), QStringLiteral("Attendees")},
        {label("Label10"), QStringLiteral("Observers")},
        {label("Label11"), QStringLiteral("Resource Persons")},
        {label("Label12"), QStringLiteral("Special Notes")},
        {form->lblTopicNo[0]->text(), QStringLiteral("Agenda Topic : 1")},
        {form->lblTimeAlloted[0]->text(), QStringLiteral("Time Alloted")},
        {form->lblTopic[0]->text(), QStringLiteral("Agenda Topic")},
        {form->lblPresenter[0]->text(), QStringLiteral("Presenter")},
        {form->lblDiscussion[0]->text(), QStringLiteral("Discussion")},
        {form->lblConclusion[0]->text(), QStringLiteral("Conclusions")},
        {form->lblActionItem[0]->text(), QStringLiteral("Action Items")},
        {form->lblPersonResponsible[0]->text(), QStringLiteral("Person Responsible")},
        {form->lblDeadline[0]->text(), QStringLiteral("Deadline")},
    };
    for (const auto& [shown, designed] : captions)
        EXPECT_EQ(shown, designed);
}

TEST_F(EntryWindow, EachFieldIsAnnouncedByItsCaptionAndCtrlEnterStarts)
{
    auto form = start();
    const std::pair<QWidget*, const char*> names[] = {
        {form->txtTitle, "Meeting Title"},
        {form->dtpDateTime->edit(), "Meeting Date & Time"},
        {form->txtTimekeeper, "Timekeeper"},
        {form->txtNotes, "Special Notes"},
        {form->txtTopic[0], "Agenda Topic"},
        {form->txtDiscussion2[0], "Discussion 2"},
        {form->txtConclusion1[0], "Conclusions 1"},
        {form->txtPerson2[0], "Person Responsible 2"},
        {form->dtpDeadlin1[0]->edit(), "Deadline 1"},
        {form->PushButton3, "Load Sample/Example Data"},
        {form->PushButtonAddTopic, "Add Topic"},
        {form->PushButtonRemoveTopic, "Remove Topic"},
        {form->picMainContainer[0], "Agenda Topic : 1"},
    };
    for (const auto& [w, name] : names)
        EXPECT_EQ(w->accessibleName(), QLatin1String(name)) << w->objectName().toStdString();

    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    bool started = false;
    automation::ScopedRegistration word(QStringLiteral("Word.Application"), [&]() -> automation::ObjectPtr {
        started = true;
        throw std::runtime_error("not here");
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(started) << "Ctrl+Enter is Start Creating Template";
    started = false;
    form->PushButton22->click();
    EXPECT_TRUE(started) << "and so is its button";
}

TEST_F(EntryWindow, TheLayoutIsTheDesignedOneInTwips)
{
    auto form = start();
    EXPECT_EQ(form->size(), QSize(600, 644));  // 9000 by 9660 twips
    EXPECT_EQ(form->PushButton2->geometry(), platform::units::twipsRect(120, 630, 4320, 405));
    EXPECT_EQ(form->picCont2[0]->geometry(), platform::units::twipsRect(6075, 3510, 1785, 330));
    EXPECT_EQ(form->dtpDeadline2[0]->geometry(), platform::units::twipsRect(-30, -30, 1830, 360));
    EXPECT_EQ(form->VScroll1->minimum(), 0);
    EXPECT_EQ(form->VScroll1->maximum(), 0);
    EXPECT_EQ(form->lblTopicNo.UBound(), 0);
    EXPECT_EQ(form->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(form->font().bold());
    EXPECT_DOUBLE_EQ(form->PushButton22->font().pointSizeF(), 11.25);
    EXPECT_EQ(form->dtpDateTime->edit()->displayFormat(), QStringLiteral("dd-MMM-yyyy hh:mm  AP"));
    EXPECT_EQ(form->dtpDateTime->edit()->minimumDate(), QDate(1601, 1, 1));
    EXPECT_EQ(form->dtpDeadlin1[0]->edit()->maximumDate(), QDate(9999, 12, 31));
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Meeting Date && Time"));
    // The topic commands stand in the frame's title line, clear of its caption and of the topics.
    const int caption = QFontMetrics(form->Frame3->font()).horizontalAdvance(form->Frame3->title());
    for (QPushButton* b : {form->PushButtonAddTopic, form->PushButtonRemoveTopic}) {
        EXPECT_EQ(b->parentWidget(), form->Frame3);
        EXPECT_TRUE(form->Frame3->rect().contains(b->geometry()));
        EXPECT_LE(b->geometry().bottom(), form->Picture1->y());
        EXPECT_GT(b->x(), caption + 20);
    }
    EXPECT_EQ(form->PushButtonAddTopic->toolTip(), QStringLiteral("Add Topic (Ctrl+Shift+N)"));
    EXPECT_EQ(form->PushButtonRemoveTopic->toolTip(), QStringLiteral("Remove Topic (Ctrl+Shift+Del)"));
}

namespace {

constexpr int kPanelPitch = 3975 + 120;  // a topic panel and the gap below it, in twips

QStringList headings(const Form1& form)
{
    QStringList out;
    for (int i = 0; i <= form.lblTopicNo.UBound(); ++i)
        out << form.lblTopicNo[i]->text();
    return out;
}

void runQueued() { QCoreApplication::processEvents(); }

}  // namespace

TEST_F(EntryWindow, TopicsAreAddedAfterTheLastAndTheOneOnShowIsRemovedAskingFirstWhenItHoldsAnything)
{
    auto form = start();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_FALSE(form->PushButtonRemoveTopic->isEnabled()) << "one topic is the least";

    form->PushButtonAddTopic->click();
    runQueued();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    runQueued();
    ASSERT_EQ(form->topicCount(), 3);
    EXPECT_EQ(headings(*form), QStringList({"Agenda Topic : 1", "Agenda Topic : 2", "Agenda Topic : 3"}));
    EXPECT_EQ(QApplication::focusWidget(), form->txtTimeAlloted[2]) << "the new topic takes the keys";
    EXPECT_EQ(form->VScroll1->value(), 2);
    EXPECT_EQ(form->Picture3->y(), platform::units::twipsToPixels(-2 * kPanelPitch));
    EXPECT_EQ(form->VScroll1->maximum(), 2);
    EXPECT_EQ(form->VScroll1->pageStep(), 1);
    EXPECT_EQ(stored(QStringLiteral("intTopicCount")), QStringLiteral("3"));
    for (int k = 0; k < 3; ++k)
        form->txtTopic[k]->setText(QStringLiteral("topic %1").arg(k + 1));

    // The second topic on show, removed: asked first, and No keeps it.
    form->VScroll1->setValue(1);
    dialogs.answers = {app::vbNo};
    form->actRemoveTopic->trigger();
    runQueued();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Remove agenda topic 2 and everything typed in it?"));
    EXPECT_EQ(dialogs.boxes[0].style, app::vbYesNo | app::vbQuestion | app::vbDefaultButton2);
    EXPECT_EQ(form->topicCount(), 3);

    dialogs.answers = {app::vbYes};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    runQueued();
    ASSERT_EQ(form->topicCount(), 2);
    EXPECT_EQ(headings(*form), QStringList({"Agenda Topic : 1", "Agenda Topic : 2"}));
    EXPECT_EQ(form->txtTopic[1]->text(), QStringLiteral("topic 3")) << "the topics after it move up";
    EXPECT_EQ(form->VScroll1->value(), 1);
    EXPECT_EQ(QApplication::focusWidget(), form->txtTimeAlloted[1]);
    EXPECT_EQ(stored(QStringLiteral("txtTopic1")), QStringLiteral("topic 3"));
    EXPECT_EQ(stored(QStringLiteral("txtTopic2")), QString()) << "past the count: written empty, not left behind";
    EXPECT_EQ(stored(QStringLiteral("intTopicCount")), QStringLiteral("2"));

    // A topic with nothing in it goes without a question; the last one stays.
    form->addTopic();
    form->removeTopic();
    EXPECT_EQ(form->topicCount(), 2);
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    form->txtTopic[1]->clear();
    form->dtpDeadline2[1]->setValue(at(2027, 3, 1));  // a chosen deadline is something to lose too
    dialogs.answers = {app::vbYes};
    form->removeTopic();
    EXPECT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(form->topicCount(), 1);
    EXPECT_FALSE(form->PushButtonRemoveTopic->isEnabled());
    form->removeTopic();
    EXPECT_EQ(form->topicCount(), 1);
    EXPECT_EQ(form->txtTopic[0]->text(), QStringLiteral("topic 1"));
}

class TopicRoundTrip : public EntryWindow, public testing::WithParamInterface<int> {};

TEST_P(TopicRoundTrip, EveryValueOfEveryTopicComesBackAfterARestart)
{
    const int count = GetParam();
    auto form = start();
    for (int i = 1; i < count; ++i)
        form->addTopic();
    ASSERT_EQ(form->topicCount(), count);
    EXPECT_EQ(form->actAddTopic->isEnabled(), count < 50) << "fifty topics are the most";
    const auto textOf = [](Field f, int topic) {
        return QStringLiteral("%1 of topic %2").arg(meeting::fieldName(f)).arg(topic);
    };
    const auto deadlineOf = [](int topic) {
        return topic % 2 ? meeting::MaybeDate(at(2027, 1 + topic % 12, 1 + topic % 28)) : meeting::MaybeDate();
    };
    for (int topic = 0; topic < count; ++topic) {
        for (const meeting::FieldFacts& f : meeting::kFields)
            if (f.topic && f.kind == meeting::FieldKind::Text)
                form->textField(f.field, topic)->setText(textOf(f.field, topic));
        form->dtpDeadline2[topic]->setValue(deadlineOf(topic));
    }
    form.reset();

    auto again = start();
    ASSERT_EQ(again->topicCount(), count);
    EXPECT_EQ(again->lblTopicNo[count - 1]->text(), QStringLiteral("Agenda Topic : %1").arg(count));
    for (int topic = 0; topic < count; ++topic) {
        for (const meeting::FieldFacts& f : meeting::kFields) {
            if (f.topic && f.kind == meeting::FieldKind::Text) {
                ASSERT_EQ(again->textField(f.field, topic)->text(), textOf(f.field, topic));
            }
        }
        ASSERT_EQ(again->dtpDeadline2[topic]->value(), deadlineOf(topic)) << topic;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
    // A meeting of one topic keeps the store it always had.
    EXPECT_EQ(stored(QStringLiteral("intTopicCount")),
              count == 1 ? QStringLiteral("<missing>") : QString::number(count));
}

INSTANTIATE_TEST_SUITE_P(OneThreeAndFifty, TopicRoundTrip, testing::Values(1, 3, 50));

// The topics after a removed one move up in one write of the store file:
// a disk that fails partway leaves the meeting as it was or as it is now.
TEST_F(EntryWindow, ARemovalReachesTheDiskInOneWriteOrNotAtAll)
{
    for (const bool roomForOneFile : {false, true}) {
        SCOPED_TRACE(roomForOneFile ? "room for one file" : "no room at all");
        auto form = start();
        form->setTopicCount(1);
        form->addTopic();
        form->addTopic();
        for (int k = 0; k < 3; ++k) {
            form->txtTopic[k]->setText(QStringLiteral("topic %1").arg(k + 1));
            form->txtPresenter[k]->setText(QStringLiteral("presenter %1").arg(k + 1));
        }
        QFile file(QDir(folders.settings()).filePath(QStringLiteral("Tessaly.ini")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        {
            testing_support::FailingWrites full(ENOSPC, roomForOneFile ? before.size() * 3 / 2 : 100);
            form->VScroll1->setValue(0);
            dialogs.answers = {app::vbYes};
            form->removeTopic();
            ASSERT_EQ(form->topicCount(), 2);
            if (roomForOneFile) {
                EXPECT_EQ(stored(QStringLiteral("txtTopic0")), QStringLiteral("topic 2")) << "the new meeting, whole";
                EXPECT_EQ(stored(QStringLiteral("txtPresenter0")), QStringLiteral("presenter 2"));
                EXPECT_EQ(stored(QStringLiteral("intTopicCount")), QStringLiteral("2"));
            } else {
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                EXPECT_EQ(file.readAll(), before) << "the old meeting, whole";
                file.close();
                EXPECT_FALSE(form->lblStoreNotice->text().isEmpty()) << "and the window says why";
            }
        }
        EXPECT_TRUE(meeting::settingsStore().flush()) << "the new meeting, once the disk has room";
        EXPECT_EQ(stored(QStringLiteral("intTopicCount")), QStringLiteral("2"));
        EXPECT_EQ(stored(QStringLiteral("txtTopic0")), QStringLiteral("topic 2"));
        EXPECT_EQ(stored(QStringLiteral("txtPresenter0")), QStringLiteral("presenter 2"));
        EXPECT_EQ(stored(QStringLiteral("txtPresenter1")), QStringLiteral("presenter 3"));
        EXPECT_EQ(stored(QStringLiteral("txtPresenter2")), QString());
    }
}

TEST_F(EntryWindow, TheNumberOfTopicsComesFromItsKeyAndABadValueFailsOnlyItsOwnStep)
{
    store(QStringLiteral("txtTopic0"), QStringLiteral("first"));
    store(QStringLiteral("txtTopic1"), QStringLiteral("second"));
    store(QStringLiteral("txtTopic2"), QStringLiteral("third"));
    store(QStringLiteral("dtpDeadlin12"), QStringLiteral("not a date"));
    struct Case {
        const char* count;  // none: the key is absent, as in every store of one topic
        int topics;
        QStringList reported;
    };
    const Case cases[] = {
        {nullptr, 1, {}},
        // Topic 2's first deadline is step 174 plus 2000; the rest of the topic comes back.
        {"3", 3, {QStringLiteral("2174")}},
        {"abc", 1, {QStringLiteral("186")}},
        {"0", 1, {QStringLiteral("186")}},
        {"51", 1, {QStringLiteral("186")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count ? c.count : "absent");
        if (c.count)
            store(QStringLiteral("intTopicCount"), QLatin1String(c.count));
        dialogs.boxes.clear();
        auto form = start();
        EXPECT_EQ(form->topicCount(), c.topics);
        EXPECT_EQ(reportLines(), c.reported);
        EXPECT_EQ(form->txtTopic[0]->text(), QStringLiteral("first"));
        if (c.topics == 3) {
            EXPECT_EQ(form->txtTopic[2]->text(), QStringLiteral("third"));
        }
    }
}

TEST_F(EntryWindow, TabGoesThroughEachTopicInTurnAndTheViewAndTheWheelFollow)
{
    auto form = start();
    form->addTopic();
    form->addTopic();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto tabFrom = [](QWidget* from, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        from->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(from, modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(tabFrom(form->txtAttendees), form->txtTimeAlloted[0]);
    EXPECT_EQ(tabFrom(form->dtpDeadline2[0]->checkBox()), form->txtTimeAlloted[1]);
    EXPECT_EQ(form->VScroll1->value(), 1);
    EXPECT_EQ(form->Picture3->y(), platform::units::twipsToPixels(-kPanelPitch));
    EXPECT_EQ(tabFrom(form->txtTimeAlloted[1], Qt::ShiftModifier), form->dtpDeadline2[0]->checkBox());
    EXPECT_EQ(form->VScroll1->value(), 0);
    EXPECT_EQ(tabFrom(form->dtpDeadline2[2]->checkBox()), form->txtObservers);
    EXPECT_EQ(tabFrom(form->PushButton3), form->PushButtonAddTopic);
    EXPECT_EQ(tabFrom(form->PushButtonAddTopic), form->PushButtonRemoveTopic);

    // One topic a notch, over a field, a deadline or the panel alike; a smooth
    // wheel's half notches add up. The deadline keeps its date.
    form->VScroll1->setValue(0);
    const auto wheel = [](QWidget* over, int angle) {
        QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    const meeting::MaybeDate deadline = form->dtpDeadlin1[1]->value();
    wheel(form->txtTopic[0], -120);
    EXPECT_EQ(form->VScroll1->value(), 1);
    wheel(form->dtpDeadlin1[1]->edit(), -60);
    EXPECT_EQ(form->VScroll1->value(), 1) << "half a notch turns nothing yet";
    EXPECT_EQ(form->dtpDeadlin1[1]->value(), deadline);
    wheel(form->Picture1, -60);
    EXPECT_EQ(form->VScroll1->value(), 2);
    wheel(form->Picture1, 120);
    EXPECT_EQ(form->VScroll1->value(), 1);
}

TEST_F(EntryWindow, ResetAndTheSampleLeaveOneTopic)
{
    for (const bool sample : {false, true}) {
        SCOPED_TRACE(sample ? "sample" : "reset");
        auto form = start();
        form->addTopic();
        form->addTopic();
        form->txtTopic[2]->setText(QStringLiteral("third"));
        sample ? form->PushButton3->click() : form->PushButton2->click();
        EXPECT_EQ(form->topicCount(), 1);
        EXPECT_EQ(form->txtTopic[0]->text(), sample ? QStringLiteral("Penguin Meeting") : QString());
        EXPECT_TRUE(dialogs.boxes.empty()) << "neither command asks";
        EXPECT_EQ(stored(QStringLiteral("intTopicCount")), QStringLiteral("1"));
        EXPECT_EQ(stored(QStringLiteral("txtTopic2")), QString());
        form.reset();
        EXPECT_EQ(start()->topicCount(), 1);
    }
}
