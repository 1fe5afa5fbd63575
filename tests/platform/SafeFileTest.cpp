#include "platform/SafeFile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using platform::FileError;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

void makeFifo(const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); }

// A FIFO opened the blocking way waits for a writer that never comes: the
// alarm ends the test program instead of letting it hang.
class HangGuard {
public:
    HangGuard() { ::alarm(30); }
    ~HangGuard() { ::alarm(0); }
};

}  // namespace

// Every way a replace can fail part way leaves the file the user had, byte for
// byte, and nothing of ours beside it.
TEST(SafeFile, AFailedReplaceKeepsTheOldFileWholeAndLeavesNothingBehind)
{
    using Guard = std::shared_ptr<void>;
    struct Case {
        const char* name;
        bool onSmallDisk;
        std::function<Guard(const QString& folder)> arrange;
        std::function<void(const QString& target)> act;
    };
    const QByteArray newBytes(200000, 'n');
    const auto replace = [&](const QString& target) { platform::replaceFile(target, newBytes, 0644); };
    const std::vector<Case> cases = {
        {"the first write fails", false,
         [](const QString&) { return std::make_shared<testing_support::FailingWrites>(EIO); }, replace},
        {"the disk fills part way through", false,
         [](const QString&) { return std::make_shared<testing_support::FailingWrites>(ENOSPC, 70000); }, replace},
        {"a real disk is full", true, [](const QString&) { return Guard(); }, replace},
        {"the source can't be read while copying", false,
         [&](const QString& folder) {
             testing_support::writeFile(folder + QStringLiteral("/source"), newBytes);
             return std::make_shared<testing_support::FailingReads>(EIO);
         },
         [](const QString& target) {
             platform::copyFile(QFileInfo(target).absolutePath() + QStringLiteral("/source"), target, 0644);
         }},
        // The last step, the rename, fails: the new file is gone by then, as
        // when something cleaning the folder takes it.
        {"the rename fails", false,
         [](const QString&) {
             return std::make_shared<testing_support::ModeCallOverride>([](int fd, mode_t mode) {
                 ::unlink(QFile::encodeName(testing_support::pathOfDescriptor(fd)).constData());
                 return ::fchmod(fd, mode);
             });
         },
         replace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        std::unique_ptr<testing_support::SmallDisk> disk;
        QString folder = tmp.path();
        if (c.onSmallDisk) {
            disk = std::make_unique<testing_support::SmallDisk>();
            if (!disk->mounted()) {
                std::printf("skipped '%s': a small disk can't be mounted here (needs root)\n", c.name);
                continue;
            }
            folder = disk->path();
        }
        const QString target = folder + QStringLiteral("/minutes.doc");
        testing_support::writeFile(target, "the minutes as they were");
        if (disk)
            disk->fill();
        QStringList before;
        {
            const Guard guard = c.arrange(folder);
            before = entries(folder);
            EXPECT_THROW(c.act(target), FileError);
        }
        EXPECT_EQ(testing_support::readAll(target), QByteArray("the minutes as they were"));
        EXPECT_EQ(entries(folder), before);
    }
}

TEST(SafeFile, AReplaceKeepsTheModeTheFileHadAndANewFileGetsTheModeAsked)
{
    QTemporaryDir tmp;
    const QString kept = tmp.filePath(QStringLiteral("kept.doc"));
    testing_support::writeFile(kept, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    platform::replaceFile(kept, QByteArray("new"), 0604);
    EXPECT_EQ(modeOf(kept), mode_t(0640));
    EXPECT_EQ(testing_support::readAll(kept), QByteArray("new"));

    const QString made = tmp.filePath(QStringLiteral("made.doc"));
    platform::replaceFile(made, QByteArray("new"), 0604);
    EXPECT_EQ(modeOf(made), mode_t(0604));

    const QString written = tmp.filePath(QStringLiteral("written.pdf"));
    platform::writeNewFile(written, "new", 0600);
    EXPECT_EQ(modeOf(written), mode_t(0600));

    // A file system without Unix permissions refuses the mode: the bytes still arrive.
    const testing_support::ModeCallOverride refused([](int, mode_t) {
        errno = EPERM;
        return -1;
    });
    platform::replaceFile(kept, QByteArray("newer"), 0604);
    EXPECT_EQ(testing_support::readAll(kept), QByteArray("newer"));
}

// A replace writes through the links the user made and keeps them; a link of
// another user's is replaced, never written through. The functions that make
// or read a file of their own never go through a link at all.
TEST(SafeFile, LinksAreFollowedOnlyWhereTheUserMadeThem)
{
    struct Case {
        const char* name;
        bool anotherUsers;
        bool destinationExists;
    };
    for (const Case& c :
         {Case{"the user's own link", false, true}, Case{"the user's link to no file yet", false, false},
          Case{"another user's link", true, true}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        QDir(tmp.path()).mkdir(QStringLiteral("elsewhere"));
        const QString destination = tmp.filePath(QStringLiteral("elsewhere/real.doc"));
        const QString target = tmp.filePath(QStringLiteral("minutes.doc"));
        if (c.destinationExists)
            testing_support::writeFile(destination, "the file at the end of the link");
        ASSERT_TRUE(QFile::link(QStringLiteral("elsewhere/real.doc"), target));
        if (c.anotherUsers && !testing_support::giveToAnotherUser(target)) {
            std::printf("skipped '%s': a link of another user's can't be made here (needs root)\n", c.name);
            continue;
        }

        platform::replaceFile(target, QByteArray("new"), 0644);

        if (c.anotherUsers) {
            EXPECT_FALSE(QFileInfo(target).isSymLink());
            EXPECT_EQ(testing_support::readAll(target), QByteArray("new"));
            EXPECT_EQ(testing_support::readAll(destination), QByteArray("the file at the end of the link"));
        } else {
            EXPECT_TRUE(QFileInfo(target).isSymLink());
            EXPECT_EQ(testing_support::readAll(destination), QByteArray("new"));
            EXPECT_EQ(entries(tmp.filePath(QStringLiteral("elsewhere"))), QStringList{QStringLiteral("real.doc")});
        }
    }

    QTemporaryDir tmp;
    const QString real = tmp.filePath(QStringLiteral("real.doc"));
    const QString link = tmp.filePath(QStringLiteral("link.doc"));
    testing_support::writeFile(real, "real");
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_THROW(platform::openRegularForReading(link, platform::Links::NoLinks), FileError);
    platform::FileDescriptor followed(platform::openRegularForReading(link, platform::Links::Follow));
    EXPECT_EQ(platform::readAll(followed.get(), 100, link), QByteArray("real"));

    const QString dangling = tmp.filePath(QStringLiteral("dangling.pdf"));
    ASSERT_TRUE(QFile::link(tmp.filePath(QStringLiteral("made-through-the-link.pdf")), dangling));
    EXPECT_THROW(platform::writeNewFile(dangling, "new", 0600), FileError);
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("made-through-the-link.pdf"))));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
}

// A FIFO where a file should be is refused at once, by the reading and by the
// copying alike, and never waited on.
TEST(SafeFile, AFifoInPlaceOfTheFileIsRefusedWithoutWaiting)
{
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath(QStringLiteral("minutes.doc"));
    makeFifo(fifo);
    const HangGuard guard;
    for (const platform::Links links : {platform::Links::Follow, platform::Links::NoLinks})
        EXPECT_THROW(platform::openRegularForReading(fifo, links), FileError);
    EXPECT_THROW(platform::copyFile(fifo, tmp.filePath(QStringLiteral("copy.doc")), 0644), FileError);
    EXPECT_EQ(entries(tmp.path()), QStringList{QStringLiteral("minutes.doc")});
}

// The clean-up of leftovers removes what temporaryName makes and nothing the
// user might keep beside the file.
TEST(SafeFile, OnlyOurOwnTemporaryNamesAreTakenForOurs)
{
    const QString target = QStringLiteral("minutes.doc");
    const QString ours = platform::temporaryName(target);
    EXPECT_TRUE(platform::isTemporaryName(ours, target));
    EXPECT_NE(platform::temporaryName(target), ours);
    for (const QString& name :
         {target, QStringLiteral("minutes.doc.bak"), QStringLiteral("minutes.doc~"), QStringLiteral(".minutes.doc.swp"),
          ours.chopped(1), ours + QLatin1Char('A'), ours.chopped(1) + QLatin1Char('a'),
          platform::temporaryName(QStringLiteral("minutes.docx"))})
        EXPECT_FALSE(platform::isTemporaryName(name, target)) << name.toStdString();
}

// One holder at a time; let go, or dead, the holder lets the next in.
TEST(SafeFile, TheLockKeepsOthersOutUntilItsHolderLetsGoOrDies)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("store.lock"));
    platform::FileLock first(path);
    platform::FileLock second(path);
    ASSERT_TRUE(first.tryLock(0));
    EXPECT_TRUE(testing_support::readAll(path).startsWith(QByteArray::number(qint64(::getpid())) + '\n'));
    EXPECT_FALSE(second.tryLock(0));
    first.unlock();
    EXPECT_FALSE(QFileInfo::exists(path));
    ASSERT_TRUE(second.tryLock(0));
    second.unlock();

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::FileLock held(path);
        const char told = held.tryLock(0) ? 'y' : 'n';
        static_cast<void>(::write(ready[1], &told, 1));
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char told = 0;
    const bool heard = ::read(ready[0], &told, 1) == 1;
    ::close(ready[0]);
    const bool keptOut = heard && !first.tryLock(0);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(told, 'y');
    EXPECT_TRUE(keptOut);
    EXPECT_TRUE(first.tryLock(0));
}
