#include "app/Environment.h"
#include "app/Files.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::ScopedEnv;

TEST(Environment, TempFolderIsTheVariableWhenSet)
{
    ScopedEnv temp("TEMP", "/some/where");
    EXPECT_EQ(app::environment::tempFolder(), QStringLiteral("/some/where"));
}

TEST(Environment, WithoutTheVariableAPrivateFolderIsMade)
{
    QTemporaryDir sysTemp;
    ScopedEnv tmpdir("TMPDIR", QFile::encodeName(sysTemp.path()));
    ScopedEnv temp("TEMP", "");
    const QString folder = app::environment::tempFolder();
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QFileInfo(sysTemp.path()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFile::permissions(folder) & 0x0077, 0);  // nobody but us
    EXPECT_EQ(app::environment::tempFolder(), folder);  // the same one next time
}

TEST(Environment, APrivateFolderTakenByAnotherGivesWayToAFreshOneOfOurOwnToldOnce)
{
    struct Case {
        const char* what;
        std::function<bool(const QString& name, const QString& elsewhere)> take;  // false: can't be made here
    };
    const Case cases[] = {
        {"a link", [](const QString& name, const QString& elsewhere) { return QFile::link(elsewhere, name); }},
        {"another user's folder",
         [](const QString& name, const QString&) {
             return QDir().mkdir(name) && testing_support::giveToAnotherUser(name);
         }},
        {"a file",
         [](const QString& name, const QString&) {
             testing_support::writeFile(name, "x");
             return true;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir sysTemp, elsewhere;
        ScopedEnv tmpdir("TMPDIR", QFile::encodeName(sysTemp.path()));
        ScopedEnv temp("TEMP", "");
        testing_support::ScriptedDialogs dialogs;
        const QString taken = QDir(sysTemp.path()).filePath(QStringLiteral("corvalin-%1").arg(::getuid()));
        if (!c.take(taken, elsewhere.path())) {
            GTEST_LOG_(INFO) << "not tried here: " << c.what << " (needs root)";
            continue;
        }
        const QString folder = app::environment::tempFolder();
        EXPECT_NE(folder, taken);
        EXPECT_EQ(QFileInfo(folder).absolutePath(), QFileInfo(sysTemp.path()).absoluteFilePath());
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        // The same folder for the rest of the run, told once, not at every use.
        EXPECT_EQ(app::environment::tempFolder(), folder);
        EXPECT_EQ(app::environment::privateTempFolder(), folder);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_TRUE(dialogs.boxes[0].text.contains(taken)) << dialogs.boxes[0].text.toStdString();
        EXPECT_TRUE(dialogs.boxes[0].text.contains(folder)) << dialogs.boxes[0].text.toStdString();
        EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    }
}

TEST(Environment, AFolderIsSharedWhenAnotherUserCanAddFilesAndOpenWhenTheyCanReplaceOurs)
{
    using app::environment::Sharing;
    struct Case {
        mode_t mode;
        bool anotherUsers;
        Sharing sharing;
    };
    const Case cases[] = {
        {0700, false, Sharing::Private},       {0755, false, Sharing::Private},
        {01777, false, Sharing::OthersCreate}, {01770, false, Sharing::OthersCreate},
        {0777, false, Sharing::OthersReplace}, {0770, false, Sharing::OthersReplace},
        {0755, true, Sharing::OthersReplace},  {01777, true, Sharing::OthersReplace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.mode << (c.anotherUsers ? " of another user's" : ""));
        QTemporaryDir dir;
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), c.mode), 0);
        if (c.anotherUsers && !testing_support::giveToAnotherUser(dir.path())) {
            GTEST_LOG_(INFO) << "not tried here: another user's folder (needs root)";
            continue;
        }
        EXPECT_EQ(app::environment::sharingOf(dir.path()), c.sharing);
        // A link to the folder tells of the folder.
        const QString link = dir.path() + QStringLiteral(".link");
        ASSERT_TRUE(QFile::link(dir.path(), link));
        EXPECT_EQ(app::environment::sharingOf(link), c.sharing);
        QFile::remove(link);
    }
}

TEST(Environment, PathsJoinWithThePlatformSeparator)
{
    EXPECT_EQ(app::joinPath(QStringLiteral("/tmp"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/temp.bmp"));
    EXPECT_EQ(app::joinPath(QStringLiteral("/tmp/"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/temp.bmp"));
    EXPECT_EQ(app::joinPath(QStringLiteral("/"), QStringLiteral("x")), QStringLiteral("/x"));
}

TEST(Environment, ProgramFolderCanBeSetAndRestored)
{
    {
        testing_support::ProgramFolderOverride folder(QStringLiteral("/opt/corvalin"));
        EXPECT_EQ(app::environment::programFolder(), QStringLiteral("/opt/corvalin"));
    }
    EXPECT_EQ(app::environment::programFolder(), QCoreApplication::applicationDirPath());
}
