#include "meeting/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using meeting::IniSettingsStore;

namespace {
const QString A = QStringLiteral("Tessaly");
const QString S = QStringLiteral("Corvalin");

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}
}  // namespace

TEST(SettingsStore, KeysAreCaseBlindAndKeepTheCaseTheyWereCreatedWith)
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.path());
    store.save(A, S, QStringLiteral("txtTimeKeeper"), QStringLiteral("Tobias"));
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTimekeeper"), QStringLiteral("?")), QStringLiteral("Tobias"));
    store.save(A, QStringLiteral("CORVALIN"), QStringLiteral("TXTTIMEKEEPER"), QStringLiteral("Renwick"));

    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txttimekeeper"), QString()), QStringLiteral("Renwick"));
    const QByteArray file = testing_support::readAll(store.filePath(A));
    EXPECT_TRUE(file.contains("[Corvalin]\ntxtTimeKeeper=Renwick")) << file.toStdString();
    EXPECT_EQ(file.count("imekeeper="), 0);
}

TEST(SettingsStore, MissingKeysGiveTheDefaultAndClearingKeepsTheKey)
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("fallback")), QStringLiteral("fallback"));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("x"));
    store.save(A, S, QStringLiteral("txtTitle"), QString());
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("fallback")), QString());
}

TEST(SettingsStore, AwkwardTextsSurviveARestartExactly)
{
    QTemporaryDir dir;
    const QString texts[] = {
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("a=b; c, #d 'e' \"f\" \\g\\\\ [h] %i @j"),
        QStringLiteral("שלום עולם، مرحبا بالعالم"),
        QStringLiteral("会議の議事録 회의록"),
        QStringLiteral("@Variant(fake)"),
        QString(100000, QLatin1Char('x')) + QStringLiteral("end"),
    };
    {
        IniSettingsStore store(dir.path());
        for (int i = 0; i < 6; ++i)
            store.save(A, S, QStringLiteral("k%1").arg(i), texts[i]);
    }
    IniSettingsStore restarted(dir.path());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(restarted.get(A, S, QStringLiteral("k%1").arg(i), QStringLiteral("?")), texts[i]) << i;
}

TEST(SettingsStore, EverySaveReplacesTheFileWholeBeforeItReturns)
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.path());
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("one"));
    const ino_t first = inodeOf(store.filePath(A));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("two"));
    EXPECT_NE(inodeOf(store.filePath(A)), first);  // a new file renamed into place, not rewritten in place
    EXPECT_TRUE(testing_support::readAll(store.filePath(A)).contains("txtNotes=two"));
}

TEST(SettingsStore, AGarbageFileYieldsWhatItCanAndIsWrittenAgain)
{
    QTemporaryDir dir;
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    testing_support::writeFile(dir.filePath(QStringLiteral("Tessaly.ini")),
                               "[Corvalin]\ntxtTitle=kept\n" + garbage);
    testing_support::ScriptedDialogs dialogs;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtNotes"), QStringLiteral("default")), QStringLiteral("default"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("new"));
    EXPECT_TRUE(dialogs.boxes.empty());
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("new"));
}

TEST(SettingsStore, AnUnwritableFileIsToldOnceAndWritingResumesWithNothingLost)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tessaly.ini"));
    ASSERT_TRUE(QDir().mkdir(file));  // a folder where the file should be: neither readable nor writable
    testing_support::ScriptedDialogs dialogs;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("d")), QStringLiteral("d"));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("B"));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BI"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("note"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains(file)) << dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("BI"));

    ASSERT_TRUE(QDir().rmdir(file));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG"));
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("BIG"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("note"));

    // A second outage is told again.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG!"));
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}
