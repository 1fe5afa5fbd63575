// What the user typed survives a store that can't be written, closing the
// window and a stop asked by the system; a stop never cuts a run short.
#include "app/Guard.h"
#include "app/Termination.h"
#include "entry/Form1.h"
#include "meeting/IniFile.h"
#include "meeting/SettingsStore.h"
#include "preview/Form2.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <optional>

using entry::Form1;
using testing_support::ScriptedDialogs;

namespace {

const QString A = QStringLiteral("Tessaly");
const QString S = QStringLiteral("Corvalin");

// A disk that says no to the settings folder: a failing write (the seam), or
// a small file system of its own filled up (root only).
class FullDisk {
public:
    explicit FullDisk(bool real) : mReal(real) {}
    bool usable() const { return !mReal || mSmall.mounted(); }
    QString folder(const testing_support::ProgramFolders& folders) const
    {
        return mReal ? mSmall.path() : folders.settings();
    }
    void fill()
    {
        if (mReal)
            mSmall.fill();
        else
            mFailing.emplace(ENOSPC, 0, meeting::settingsFolder());
    }
    void free()
    {
        mFailing.reset();
        if (mReal)
            mSmall.free();
    }

private:
    bool mReal;
    testing_support::SmallDisk mSmall;
    std::optional<testing_support::FailingWrites> mFailing;
};

class NothingLost : public testing::Test {
protected:
    std::unique_ptr<Form1> start()
    {
        folders.restart();
        auto form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
        return form;
    }
    // What the file holds, read as another program would (a store of ours
    // would offer back what a stop kept).
    QString stored(const QString& key) const
    {
        const QString file = meeting::settingsFolder() + QStringLiteral("/Tessaly.ini");
        return meeting::IniFile::parse(testing_support::readAll(file))
            .value(S, key)
            .value_or(QStringLiteral("<missing>"));
    }

    testing_support::ProgramFolders folders;
    ScriptedDialogs dialogs;
    testing_support::ClockOverride clock{[] { return QDateTime(QDate(2026, 12, 8), QTime(9, 15), Qt::UTC); }};
    testing_support::LocaleOverride locale{QLocale(QStringLiteral("en_US"))};
    testing_support::StopRequestOverride notStopped{false};
    int ended = 0;
    testing_support::ProgramEndOverride end{[this] { ++ended; }};
};

}  // namespace

// The user types on while the disk is full: no key is eaten by a box, the
// window says why the meeting isn't saved, and it is once there is room; a
// stop while the disk is full again keeps what was typed for the next start.
TEST_F(NothingLost, TypingOnAFullDiskLosesNoKeySaysWhyInTheWindowAndAStopKeepsItForTheNextStart)
{
    app::closeWindowsOnStopSignals();
    for (const bool real : {false, true}) {
        SCOPED_TRACE(real ? "a real full disk" : "a failing write");
        FullDisk disk(real);
        if (!disk.usable())
            continue;
        const testing_support::SettingsFolderOverride on(disk.folder(folders));
        const QString file = meeting::settingsFolder() + QStringLiteral("/Tessaly.ini");
        ended = 0;
        auto form = start();
        const int designed = form->height();
        QLabel* notice = form->findChild<QLabel*>(QStringLiteral("lblStoreNotice"));
        ASSERT_NE(notice, nullptr);
        EXPECT_FALSE(notice->isVisible());

        disk.fill();
        QTest::keyClicks(form->txtTitle, QStringLiteral("FULL"));
        EXPECT_EQ(form->txtTitle->text(), QStringLiteral("FULL"));
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(notice->accessibleName(), QStringLiteral("Your changes can't be saved to %1 (No space left on "
                                                           "device). What you type is kept and saved as soon as the "
                                                           "file can be written again.")
                                                .arg(file));
        EXPECT_GE(notice->geometry().top(), form->Frame2->geometry().bottom()) << "it covers no field";
        EXPECT_GE(form->height(), notice->geometry().bottom());

        disk.free();
        EXPECT_TRUE(testing_support::eventually([&] { return !notice->isVisible(); })) << "gone once a save works";
        EXPECT_EQ(stored(QStringLiteral("txtTitle")), QStringLiteral("FULL"));
        EXPECT_EQ(form->height(), designed);

        disk.fill();
        QTest::keyClicks(form->txtNotes, QStringLiteral("LAST"));
        EXPECT_TRUE(notice->isVisible());
        ASSERT_EQ(::raise(SIGTERM), 0);
        EXPECT_TRUE(testing_support::eventually([&] { return ended == 1; }));
        EXPECT_TRUE(dialogs.boxes.empty()) << "nobody may be there to answer";
        disk.free();
        EXPECT_EQ(stored(QStringLiteral("txtNotes")), QString());

        app::setStopRequested(false);
        dialogs.answers = {app::vbYes};
        auto again = start();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_TRUE(dialogs.boxes[0].text.contains(file)) << dialogs.boxes[0].text.toStdString();
        EXPECT_EQ(again->txtNotes->text(), QStringLiteral("LAST"));
        EXPECT_EQ(again->txtTitle->text(), QStringLiteral("FULL"));
        EXPECT_EQ(stored(QStringLiteral("txtNotes")), QStringLiteral("LAST"));
        dialogs.boxes.clear();
    }
}

// Closing with a change that can't be saved asks first, through the real
// box; a stop that comes while the question is up answers it No, keeps the
// change for the next start and ends the program at once.
TEST_F(NothingLost, AStopWhileTheClosingQuestionIsUpEndsTheProgramAtOnceAndKeepsTheChange)
{
    app::closeWindowsOnStopSignals();
    auto form = start();
    form->txtTitle->setText(QStringLiteral("BIG"));
    testing_support::FailingWrites disk(ENOSPC, 0, folders.settings());
    form->txtTitle->setText(QStringLiteral("BIG MEETING"));
    const testing_support::DialogsOverride realBoxes(nullptr);
    QString question;
    QElapsedTimer since;
    QTimer::singleShot(200, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            question = box->text();
        since.start();
        ::raise(SIGTERM);
    });
    QTimer unanswered;  // a box left waiting would hold the test for ever
    unanswered.setSingleShot(true);
    QObject::connect(&unanswered, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    unanswered.start(4000);
    form->close();
    EXPECT_TRUE(question.startsWith(QStringLiteral("Your last changes can't be saved to"))) << question.toStdString();
    EXPECT_TRUE(testing_support::eventually([&] { return ended == 1; }, 2000)) << "the stop waited";
    EXPECT_LT(since.elapsed(), 2000);
    EXPECT_TRUE(QFile::exists(
        meeting::IniSettingsStore::recoveryFilePath(folders.settings() + QStringLiteral("/Tessaly.ini"))));
}

// A stop that comes early in a run, before its progress shows, lets the run
// finish: then the windows close and nothing of the run is left behind.
TEST_F(NothingLost, AStopEarlyInARunLetsItFinishThenLeavesNothingBehind)
{
    app::closeWindowsOnStopSignals();
    auto form = start();
    form->PushButton3->click();  // the sample meeting
    ASSERT_EQ(::raise(SIGTERM), 0);
    bool endedMidRun = false;
    try {
        form->PushButton22_Click();
    } catch (const app::ProgramEnded&) {
        endedMidRun = true;
    }
    EXPECT_FALSE(endedMidRun) << "the run was cut short";
    EXPECT_TRUE(testing_support::eventually([&] { return ended == 1; }));
    EXPECT_EQ(QDir(folders.temp()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "left behind";
    EXPECT_FALSE(form->runUnderWay());
}
