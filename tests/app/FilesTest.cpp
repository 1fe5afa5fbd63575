#include "app/Files.h"
#include "automation/Registry.h"
#include "tests/support/RecordingObject.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <stdexcept>

using automation::Value;
using testing_support::readAll;
using testing_support::writeFile;

TEST(FileExists, AnswersWithoutEverFailing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.doc"));
    writeFile(file, "1");
    testing_support::ScriptedDialogs dialogs;
    EXPECT_TRUE(app::FileExists(file));
    EXPECT_FALSE(app::FileExists(QString()));
    EXPECT_FALSE(app::FileExists(dir.filePath(QStringLiteral("missing.doc"))));
    EXPECT_FALSE(app::FileExists(dir.filePath(QStringLiteral("no/such/folder/a.doc"))));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(NullToDefault, OnlyNullIsReplaced)
{
    const QDateTime date(QDate(2026, 12, 7), QTime(0, 0));
    EXPECT_EQ(automation::NullToDefault(Value::null(), Value("")), Value(""));
    EXPECT_EQ(automation::NullToDefault(Value(date), Value("")), Value(date));
    EXPECT_EQ(automation::NullToDefault(Value(""), Value("x")), Value(""));
    EXPECT_EQ(automation::NullToDefault(Value(qint32(0)), Value("x")), Value(qint32(0)));
}

TEST(RemoveFile, RemovesReadOnlyFilesAndIgnoresMissingOnes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kvarne12345678.doc"));
    writeFile(file, "doc");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
    testing_support::ScriptedDialogs dialogs;

    app::RemoveFile(file);
    EXPECT_FALSE(QFileInfo::exists(file));
    app::RemoveFile(file);  // missing now: nothing happens, nothing is shown
    app::RemoveFile(QString());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(RemoveFile, LetsPendingEventsRunFirst)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("f"));
    writeFile(file, "x");
    bool existedWhenEventRan = false;
    QTimer::singleShot(0, [&] { existedWhenEventRan = QFileInfo::exists(file); });
    app::RemoveFile(file);
    EXPECT_TRUE(existedWhenEventRan);
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(RemoveFile, WhenThePlainDeleteFailsItForcesThroughTheFileSystemObjectQuietly)
{
    QTemporaryDir dir;
    const testing_support::CallLog log = testing_support::makeCallLog();
    automation::ScopedRegistration fso(QStringLiteral("Scripting.FileSystemObject"), [&] {
        // The forced delete fails too, which the user must not be told about either.
        return std::make_shared<testing_support::RecordingObject>(
            QStringLiteral("FileSystemObject"), log,
            [](const testing_support::RecordingObject&, const testing_support::Call&) -> Value {
                throw std::runtime_error("still can't");
            });
    });
    testing_support::ScriptedDialogs dialogs;
    app::RemoveFile(dir.path());  // a folder: the plain file delete refuses it
    EXPECT_EQ(*log, QStringList({"FileSystemObject.call DeleteFile(String " + dir.path() + ", Boolean True)"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(WriteBytesToFile, WritesExactlyTheBytesGiven)
{
    QTemporaryDir dir;
    QByteArray bytes(70000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31);
    const QString path = dir.filePath(QStringLiteral("template.dot"));
    app::WriteBytesToFile(bytes, path);
    EXPECT_EQ(QFileInfo(path).size(), bytes.size());
    EXPECT_EQ(readAll(path), bytes);

    const QString empty = dir.filePath(QStringLiteral("empty"));
    app::WriteBytesToFile(QByteArray(), empty);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
}

TEST(WriteBytesToFile, RefusesLinksAndExistingFilesAndSaysWhere)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("victim"));
    writeFile(target, "precious");
    const QString link = dir.filePath(QStringLiteral("template.dot"));
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_THROW(app::WriteBytesToFile("evil", link), std::runtime_error);
    EXPECT_EQ(readAll(target), QByteArray("precious"));

    // A dangling link must not be followed to create its target either.
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("created-through-link")), dangling));
    EXPECT_THROW(app::WriteBytesToFile("evil", dangling), std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("created-through-link"))));

    EXPECT_THROW(app::WriteBytesToFile("x", target), std::runtime_error);
    EXPECT_EQ(readAll(target), QByteArray("precious"));

    const QString missing = dir.filePath(QStringLiteral("gone/template.dot"));
    try {
        app::WriteBytesToFile("x", missing);
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("Can't create '%1': No such file or directory").arg(missing));
    }
}
