#include "app/Environment.h"
#include "app/Files.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

namespace {
// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : mName(name), mOld(qgetenv(name)), mHad(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (mHad)
            qputenv(mName, mOld);
        else
            qunsetenv(mName);
    }

private:
    const char* mName;
    QByteArray mOld;
    bool mHad;
};
}  // namespace

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

TEST(Environment, APrivateFolderReplacedByALinkIsRefused)
{
    QTemporaryDir sysTemp, elsewhere;
    ScopedEnv tmpdir("TMPDIR", QFile::encodeName(sysTemp.path()));
    ScopedEnv temp("TEMP", "");
    const QString expected = QDir(sysTemp.path()).filePath(QStringLiteral("corvalin-%1").arg(::getuid()));
    ASSERT_TRUE(QFile::link(elsewhere.path(), expected));
    try {
        app::environment::tempFolder();
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("The temporary folder '%1' can't be used: it is not a folder").arg(expected));
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
