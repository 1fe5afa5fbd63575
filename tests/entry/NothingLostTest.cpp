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
#include <QElapsedTimer>
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
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/mount.h>
#include <unistd.h>

using entry::Form1;
using testing_support::ScriptedDialogs;

namespace {

const QString A = QStringLiteral("Tessaly");
const QString S = QStringLiteral("Corvalin");

bool eventually(const std::function<bool()>& condition, int ms = 5000)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// A disk that says no: a failing write for the settings folder (the seam), or
// a small file system of its own filled up (root only).
class FullDisk {
public:
    explicit FullDisk(bool real) : mReal(real)
    {
        if (mReal)
            mMounted = ::mount("tmpfs", QFile::encodeName(mDir.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk()
    {
        if (mMounted)
            ::umount2(QFile::encodeName(mDir.path()).constData(), MNT_DETACH);
    }
    bool usable() const { return !mReal || mMounted; }
    QString folder(const testing_support::ProgramFolders& folders) const
    {
        return mReal ? mDir.path() : folders.settings();
    }
    void fill(const QString& folder)
    {
        if (!mReal) {
            mFailing.emplace(ENOSPC, 0, folder);
            return;
        }
        const QString filler = QDir(folder).filePath(QStringLiteral("filler"));
        const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray block(512, 'x');
        off_t size = 0;
        for (ssize_t n; (n = ::write(fd, block.constData(), block.size())) > 0;)
            size += n;
        ASSERT_EQ(::ftruncate(fd, size - 4096), 0);  // room for the lock file, not the store
        ::close(fd);
    }
    void free(const QString& folder)
    {
        mFailing.reset();
        QFile::remove(QDir(folder).filePath(QStringLiteral("filler")));
    }

private:
    bool mReal;
    QTemporaryDir mDir;
    bool mMounted = false;
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
        if (!disk.usable()) {
            std::printf("a small disk can't be mounted here (needs root): %s\n", std::strerror(errno));
            continue;
        }
        const testing_support::SettingsFolderOverride on(disk.folder(folders));
        const QString file = meeting::settingsFolder() + QStringLiteral("/Tessaly.ini");
        ended = 0;
        auto form = start();
        const int designed = form->height();
        QLabel* notice = form->findChild<QLabel*>(QStringLiteral("lblStoreNotice"));
        ASSERT_NE(notice, nullptr);
        EXPECT_FALSE(notice->isVisible());

        disk.fill(meeting::settingsFolder());
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

        disk.free(meeting::settingsFolder());
        EXPECT_TRUE(eventually([&] { return !notice->isVisible(); })) << "gone once a save works";
        EXPECT_EQ(stored(QStringLiteral("txtTitle")), QStringLiteral("FULL"));
        EXPECT_EQ(form->height(), designed);

        disk.fill(meeting::settingsFolder());
        QTest::keyClicks(form->txtNotes, QStringLiteral("LAST"));
        EXPECT_TRUE(notice->isVisible());
        ASSERT_EQ(::raise(SIGTERM), 0);
        EXPECT_TRUE(eventually([&] { return ended == 1; }));
        EXPECT_TRUE(dialogs.boxes.empty()) << "nobody may be there to answer";
        disk.free(meeting::settingsFolder());
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
    EXPECT_TRUE(eventually([&] { return ended == 1; }, 2000)) << "the stop waited";
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
    EXPECT_TRUE(eventually([&] { return ended == 1; }));
    EXPECT_EQ(QDir(folders.temp()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "left behind";
    EXPECT_FALSE(form->busy());
}
