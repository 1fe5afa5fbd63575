#include "meeting/SettingsStore.h"
#include "meeting/IniFile.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <stdexcept>
#include <unistd.h>
#include <vector>

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

// What the store tells the entry window, in order: each trouble as it begins
// or changes, and its end.
struct Told {
    std::vector<meeting::StoreTrouble> log;
    testing_support::TroubleListenerOverride listening{[this](const meeting::StoreTrouble& t) { log.push_back(t); }};
    // How often the user was told of trouble.
    int troubles() const
    {
        return int(std::count_if(log.begin(), log.end(),
                                 [](const auto& t) { return t.kind != meeting::StoreTrouble::Kind::None; }));
    }
};
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

TEST(SettingsStore, AForeignSectionSpelledInAnotherCaseNeitherHidesTheMeetingNorTakesItsWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tessaly.ini"));
    testing_support::writeFile(path, "[CORVALIN]\nforeign=1\n\n[Corvalin]\ntxtTitle=Budget\n");
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("Budget"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("typed"));
    EXPECT_EQ(testing_support::readAll(path).toStdString(),
              "[CORVALIN]\nforeign=1\n\n[Corvalin]\ntxtTitle=Budget\ntxtNotes=typed\n");
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
        QStringLiteral("  leading and trailing  "), QStringLiteral("a=b; c, #d 'e' \"f\" \\g\\\\ [h] %i @j"),
        QStringLiteral("שלום עולם، مرحبا بالعالم"), QStringLiteral("会議の議事録 회의록"),
        QStringLiteral("@Variant(fake)"),           QString(100000, QLatin1Char('x')) + QStringLiteral("end"),
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
    testing_support::writeFile(dir.filePath(QStringLiteral("Tessaly.ini")), "[Corvalin]\ntxtTitle=kept\n" + garbage);
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
    Told told;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("d")), QStringLiteral("d"));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("B"));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BI"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("note"));
    EXPECT_TRUE(dialogs.boxes.empty()) << "a box would take the keys typed meanwhile";
    ASSERT_EQ(told.troubles(), 1);
    EXPECT_EQ(told.log[0].file, file);
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("BI"));

    ASSERT_TRUE(QDir().rmdir(file));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG"));
    EXPECT_EQ(store.trouble(), meeting::StoreTrouble()) << "the notice goes once a save works";
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("BIG"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("note"));

    // A second outage is told again.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG!"));
    EXPECT_EQ(told.troubles(), 2);
}

// ---- The file's dialect: what Qt's settings classes read and write ----------

namespace {

// How the program read its store before it had its own reader: Qt's settings
// class, with the stored spelling of section and key found without regard to
// case. Of the spellings of the section that hold the key, the one spelled as
// asked comes first, then the least; in it, the least spelling of the key.
// What it gives for a file is what the store must give.
QString readAsQtDoes(const QString& file, const QString& section, const QString& key, const QString& fallback)
{
    QSettings s(file, QSettings::IniFormat);
    QStringList groups = s.childGroups();  // sorted, so the least come first
    std::stable_partition(groups.begin(), groups.end(), [&](const QString& g) { return g == section; });
    for (const QString& group : groups) {
        if (group.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        s.beginGroup(group);
        for (const QString& k : s.childKeys())
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                const QVariant v = s.value(k);
                return v.isValid() ? v.toString() : fallback;
            }
        s.endGroup();
    }
    return fallback;
}

}  // namespace

TEST(SettingsStore, AnyFileReadsAsQtsSettingsReadIt)
{
    // Files as earlier versions wrote them, as people edit them, and as they
    // break: pieces of the dialect thrown together at random.
    std::vector<QByteArray> pieces = {
        "[Corvalin]\n",
        "[corvalin]\n",
        "[CORVALIN]\n",
        "[CorValin]\n",
        "txtTitle=Title\n",
        "TxtTitle=Other\n",
        "[General]\nCorvalin\\txtTitle=General\n",
        "[General]\n",
        "[%General]\n",
        "[Other]\n",
        "[Corvalin",
        "Corvalin\\",
        "txtTitle",
        "TXTTITLE",
        "txtNotes",
        "=",
        " = ",
        "\"",
        "\\",
        "\\x41",
        "\\x1",
        "\\0",
        "\\101",
        "\\n",
        "\\\n",
        ",",
        ";",
        " ",
        "\t",
        "\v",
        "\n",
        "\r\n",
        "\r",
        "@Invalid()",
        "@@",
        "@",
        "@ByteArray(ab)",
        "@String(",
        "txtTitle=@String(a\\0b)\n",
        "@Rect(1 2 3 4)",
        "@Size(5",
        ")",
        "value",
        "é",
        "会議",
        "\xef\xbb\xbf",
        "\xff",
        "%41",
        "%U4F1A",
        "#",
        "[",
        "]",
    };
    // A shared file where other programs keep thousands of keys.
    QByteArray many = "[Other]\n";
    for (int i = 0; i < 500; ++i)
        many += "key" + QByteArray::number(i) + "=value\n";
    pieces.push_back(many);
    QTemporaryDir dir;
    QRandomGenerator random(20261207);
    for (int round = 0; round < 1500; ++round) {
        // A new name each round: Qt's reader keeps a file it has read while
        // its size and time look unchanged.
        QString file = dir.filePath(QStringLiteral("t%1.ini").arg(round));
        QByteArray bytes;
        const int count = random.bounded(4, 40);
        for (int i = 0; i < count; ++i)
            bytes += pieces[random.bounded(int(pieces.size()))];
        testing_support::writeFile(file, bytes);
        const std::string shown = QByteArray(bytes).replace(many, "[Other] and 500 keys\n").toStdString();
        const meeting::IniFile ours = meeting::IniFile::parse(bytes);
        for (const char* key : {"txtTitle", "txtNotes", "TxtTitle"}) {
            const QString k = QLatin1String(key);
            ASSERT_EQ(ours.value(S, k).value_or(QStringLiteral("<none>")),
                      readAsQtDoes(file, S, k, QStringLiteral("<none>")))
                << "key " << key << " in:\n"
                << shown;
        }
        // Whatever it held, a file written back says the same to Qt's reader,
        // and a new key goes to the section spelled as asked.
        meeting::IniFile rewritten = ours;
        rewritten.setValue(S, QStringLiteral("txtNotes"), QStringLiteral("typed"));
        rewritten.setValue(S, QStringLiteral("txtAttendees"), QStringLiteral("new"));
        file += QStringLiteral(".ini");
        testing_support::writeFile(file, rewritten.serialize());
        ASSERT_EQ(readAsQtDoes(file, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("typed")) << shown;
        QSettings written(file, QSettings::IniFormat);
        written.childGroups();  // reads every section, as the program did: a lookup alone reads only one
        ASSERT_EQ(written.value(QStringLiteral("Corvalin/txtAttendees")).toString(), QStringLiteral("new")) << shown;
        ASSERT_EQ(readAsQtDoes(file, S, QStringLiteral("txtTitle"), QStringLiteral("<none>")),
                  ours.value(S, QStringLiteral("txtTitle")).value_or(QStringLiteral("<none>")))
            << shown;
    }
}

TEST(SettingsStore, EveryTextWrittenReadsBackTheSameWithQtsReaderAndOurs)
{
    const char16_t kAlphabet[] = u"aZ09 ,;=\"\\@#[]%\t\n\r\x01\x1f\x7f\u00e9\u05e9\u4f1a\ufeff\u2028";
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tessaly.ini"));
        QString text;
        const int length = random.bounded(0, 24);
        for (int i = 0; i < length; ++i) {
            const int pick = random.bounded(int(std::size(kAlphabet)) + 2);
            if (pick == int(std::size(kAlphabet)))
                text += QStringLiteral("\U0001F600");  // a pair of surrogates
            else if (pick == int(std::size(kAlphabet)) + 1)
                text += QChar(0xD800);  // half of one
            else
                text += QChar(kAlphabet[pick]);
        }
        {
            IniSettingsStore store(dir.path());
            store.save(A, S, QStringLiteral("txtNotes"), text);
        }
        ASSERT_EQ(readAsQtDoes(file, S, QStringLiteral("txtNotes"), QStringLiteral("<none>")), text) << round;
        IniSettingsStore restarted(dir.path());
        ASSERT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QStringLiteral("<none>")), text) << round;
        // And what Qt's writer makes of it (it wraps a text holding a NUL) reads as Qt's reader reads it.
        // Read under another name: Qt's reader would answer from what its writer holds in memory.
        const QString qtFile = dir.filePath(QStringLiteral("qt.ini")), copy = dir.filePath(QStringLiteral("copy.ini"));
        QSettings(qtFile, QSettings::IniFormat).setValue(QStringLiteral("Corvalin/txtNotes"), text);
        const QByteArray written = testing_support::readAll(qtFile);
        testing_support::writeFile(copy, written);
        ASSERT_EQ(meeting::IniFile::parse(written).value(S, QStringLiteral("txtNotes")),
                  readAsQtDoes(copy, S, QStringLiteral("txtNotes"), QStringLiteral("<none>")))
            << round << ' ' << written.toStdString();
    }
}

TEST(SettingsStore, AValueThatIsNotTextIsRefusedByNameNeverDeserialisedAndTypingReplacesIt)
{
    // What the store says of txtTitle; a refusal is its message.
    const auto title = [](const meeting::IniFile& file) {
        try {
            return file.value(S, QStringLiteral("txtTitle")).value_or(QStringLiteral("<none>"));
        } catch (const std::runtime_error& e) {
            return QString::fromUtf8(e.what());
        }
    };
    const QString refused = QStringLiteral("The saved value of 'txtTitle' is not text");
    const QByteArray deep = testing_support::nestedListValue(40000);
    const struct {
        QByteArray lines;
        QString reads;
    } cases[] = {
        {"txtTitle=" + deep + '\n', refused},
        {"txtTitle=@DateTime(\\0\\0\\0\\x10\\0\\x25\\x8f\\x2\\x5\\x26\\x5c\\0\\x1)\n", refused},
        {"txtTitle=\"" + deep, refused},  // an unclosed quote at the end, which the writer mends
        {"txtNotes=" + deep + "\ntxtTitle=Budget\n", QStringLiteral("Budget")},
        {"txtTitle=@@Variant(x)\n", QStringLiteral("@Variant(x)")},
        {"txtTitle=@Variant(x\n", QStringLiteral("@Variant(x")},
        {"txtTitle=a, " + deep + '\n', QString()},  // a list, which reads as no text
        {"txtTitle=@ByteArray(Budget)\n", QStringLiteral("Budget")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.left(60).toStdString());
        meeting::IniFile file = meeting::IniFile::parse("[Corvalin]\n" + c.lines);
        EXPECT_EQ(title(file), c.reads);
        EXPECT_EQ(title(meeting::IniFile::parse(file.serialize())), c.reads);
        EXPECT_TRUE(file.setValue(S, QStringLiteral("TXTTITLE"), QStringLiteral("typed")));
        EXPECT_EQ(title(meeting::IniFile::parse(file.serialize())), QStringLiteral("typed"));
    }
}

// The store reader's fuzz target: a value written into the file reads back,
// nothing else it held reads otherwise, and what is written reads and writes
// back the same. Its seeds, replayed.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(SettingsStore, EveryFuzzSeedReadsBackWhatIsWrittenAndNothingElse)
{
    int seeds = 0;
    for (QDirIterator it(QStringLiteral(STORE_FUZZ_CORPUS), QDir::Files); it.hasNext();) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        ++seeds;
        const QByteArray bytes = testing_support::readAll(path);
        EXPECT_NO_THROW(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size()));
    }
    EXPECT_GE(seeds, 7);
}

// ---- Faults: a full disk, a file that can't be read, two instances ----------

TEST(SettingsStore, AFailingDiskKeepsThePreviousFileByteForByteTellsOnceAndLosesNothing)
{
    for (const int code : {ENOSPC, EDQUOT, EIO}) {
        SCOPED_TRACE(code);
        QTemporaryDir dir;
        testing_support::ScriptedDialogs dialogs;
        Told told;
        IniSettingsStore store(dir.path());
        for (int i = 0; i < 27; ++i)
            store.save(A, S, QStringLiteral("k%1").arg(i), QStringLiteral("sample value %1").arg(i));
        const QString path = store.filePath(A);
        const QByteArray before = testing_support::readAll(path);
        {
            testing_support::FailingWrites disk(code, 100);  // the new file gets a start, then the disk is full
            store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("N"));
            store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("No"));
            store.save(A, S, QStringLiteral("k3"), QStringLiteral("changed"));
            EXPECT_EQ(testing_support::readAll(path), before);
            EXPECT_TRUE(dialogs.boxes.empty());
            ASSERT_EQ(told.troubles(), 1);
            EXPECT_EQ(told.log[0].kind, meeting::StoreTrouble::Kind::Unwritable);
            EXPECT_EQ(told.log[0].file, path);
            EXPECT_EQ(told.log[0].reason, platform::systemReason(code));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no partial file left";
        }
        store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("Non"));  // the disk has room again
        IniSettingsStore restarted(dir.path());
        EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("Non"));
        EXPECT_EQ(restarted.get(A, S, QStringLiteral("k3"), QString()), QStringLiteral("changed"));
        EXPECT_EQ(restarted.get(A, S, QStringLiteral("k26"), QString()), QStringLiteral("sample value 26"));
        {
            testing_support::FailingWrites disk(code);
            store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("again"));
        }
        EXPECT_EQ(told.troubles(), 2) << "a second outage is told again";
    }
}

TEST(SettingsStore, AMalformedFileDoesNotHideALaterFailure)
{
    QTemporaryDir dir;
    testing_support::writeFile(dir.filePath(QStringLiteral("Tessaly.ini")), "[broken\n[Corvalin]\ntxtTitle=kept\n");
    Told told;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("kept"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("one"));
    EXPECT_EQ(told.troubles(), 0);
    testing_support::FailingWrites disk(ENOSPC);
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("two"));
    EXPECT_EQ(told.troubles(), 1);
}

TEST(SettingsStore, AFileThatCantBeReadIsToldAsSuchAndLeftUntouchedUntilItCanBe)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tessaly.ini"));
    const QByteArray saved = "[Corvalin]\ntxtTitle=BIG MEETING\ntxtNotes=None\n";
    testing_support::writeFile(path, saved);
    Told told;
    IniSettingsStore store(dir.path());
    {
        testing_support::FailingReads reads(EIO);
        EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("d")), QStringLiteral("d"));
        store.save(A, S, QStringLiteral("txtAttendees"), QStringLiteral("Everyone"));
        store.save(A, S, QStringLiteral("txtAttendees"), QStringLiteral("Everyone!"));
        EXPECT_EQ(testing_support::readAll(path), saved);
        ASSERT_EQ(told.troubles(), 1);
        EXPECT_EQ(told.log[0].kind, meeting::StoreTrouble::Kind::Unreadable);
        EXPECT_TRUE(meeting::troubleNotice(told.log[0]).contains(QStringLiteral("can't be read")));
        EXPECT_EQ(told.log[0].file, path);
        EXPECT_EQ(store.get(A, S, QStringLiteral("txtAttendees"), QString()), QStringLiteral("Everyone!"));
    }
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("Read again"));
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("BIG MEETING"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtAttendees"), QString()), QStringLiteral("Everyone!"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("Read again"));
    EXPECT_EQ(told.troubles(), 1);
}

TEST(SettingsStore, AStoreOverTheSizeLimitIsRefusedWithoutBeingRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tessaly.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(300ll << 20));  // sparse: no disk taken
    }
    int reads = 0;
    testing_support::ReadCallOverride counting([&reads](int fd, void* buffer, size_t size) {
        ++reads;
        return ::read(fd, buffer, size);
    });
    Told told;
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(reads, 0);
    ASSERT_EQ(told.troubles(), 1);
    EXPECT_EQ(told.log[0].reason, QStringLiteral("it is larger than 256 MB"));
}

TEST(SettingsStore, TwoInstancesTypingIntoDifferentFieldsKeepEachOthersValues)
{
    QTemporaryDir dir;
    IniSettingsStore first(dir.path()), second(dir.path());
    EXPECT_EQ(first.get(A, S, QStringLiteral("txtTitle"), QString()), QString());
    EXPECT_EQ(second.get(A, S, QStringLiteral("txtNotes"), QString()), QString());
    for (int i = 1; i <= 5; ++i) {
        first.save(A, S, QStringLiteral("txtTitle"), QString(i, QLatin1Char('t')));
        second.save(A, S, QStringLiteral("txtNotes"), QString(i, QLatin1Char('n')));
    }
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("ttttt"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("nnnnn"));
}

TEST(SettingsStore, AtStartOnlyWhatAKilledWriteLeftIsRemovedNeverTheUsersCopiesNorAnotherInstancesWrite)
{
    QTemporaryDir dir;
    // The new file of a write, by the name the write gave it, as a kill in the middle leaves it.
    QString left;
    {
        testing_support::WriteCallOverride watch([&](int fd, const void* data, size_t size) {
            left = testing_support::pathOfDescriptor(fd);
            return ::write(fd, data, size);
        });
        IniSettingsStore(dir.path()).save(A, S, QStringLiteral("txtTitle"), QStringLiteral("x"));
    }
    ASSERT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFileInfo(left).fileName().startsWith(QLatin1Char('.'))) << left.toStdString();
    EXPECT_TRUE(QFileInfo(left).fileName().contains(QStringLiteral("corvalin"))) << left.toStdString();
    testing_support::writeFile(left, "[Corvalin]\ntxtTi");
    const QStringList copies = {"Tessaly.ini.Backup", "Tessaly.ini.202612", "Tessaly.ini.bak001",
                                "Tessaly.ini.OLDONE", "Tessaly.ini.v2copy", "Tessaly.ini.backup"};
    for (const QString& copy : copies)
        testing_support::writeFile(dir.filePath(copy), "the user's copy");
    IniSettingsStore(dir.path()).get(A, S, QStringLiteral("txtTitle"), QString());
    EXPECT_FALSE(QFile::exists(left));
    for (const QString& copy : copies)
        EXPECT_TRUE(QFile::exists(dir.filePath(copy))) << copy.toStdString();

    // While another instance holds the lock, its file in the making stays.
    QLockFile writer(dir.filePath(QStringLiteral("Tessaly.ini.lock")));
    ASSERT_TRUE(writer.tryLock(0));
    testing_support::writeFile(left, "[Corvalin]\ntxtTi");
    IniSettingsStore(dir.path()).get(A, S, QStringLiteral("txtTitle"), QString());
    EXPECT_TRUE(QFile::exists(left));
}

TEST(SettingsStore, AStoreThatIsALinkToALinkWritesTheFileAtTheEndAndKeepsBothLinks)
{
    QTemporaryDir dir, shared;
    const QString settings = dir.filePath(QStringLiteral("Tessaly.ini"));
    const QString middle = shared.filePath(QStringLiteral("current.ini"));
    const QString file = shared.filePath(QStringLiteral("meeting.ini"));
    testing_support::writeFile(file, "[Corvalin]\ntxtTitle=old\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("meeting.ini"), middle));
    ASSERT_TRUE(QFile::link(middle, settings));
    IniSettingsStore store(dir.path());
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("new"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("more"));
    EXPECT_TRUE(QFileInfo(settings).isSymLink());
    EXPECT_TRUE(QFileInfo(middle).isSymLink());
    EXPECT_TRUE(testing_support::readAll(file).contains("txtTitle=new"))
        << testing_support::readAll(file).toStdString();
    IniSettingsStore restarted(dir.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("new"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("more"));
}

TEST(SettingsStore, SavingWhatTheFileHoldsWritesNothingButAMissingKeyIsWritten)
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.path());
    store.save(A, S, QStringLiteral("txtTitle"), QStringLiteral("same"));
    const ino_t written = inodeOf(store.filePath(A));
    IniSettingsStore restarted(dir.path());
    restarted.save(A, S, QStringLiteral("TXTTITLE"), restarted.get(A, S, QStringLiteral("txtTitle"), QString()));
    EXPECT_EQ(inodeOf(store.filePath(A)), written);
    restarted.save(A, S, QStringLiteral("txtNotes"), QString());  // absent: written, empty as it is
    EXPECT_NE(inodeOf(store.filePath(A)), written);
    EXPECT_TRUE(testing_support::readAll(store.filePath(A)).contains("txtNotes=\n"));
}

TEST(SettingsStore, ARealFullDiskKeepsTheStoreWhole)
{
    const testing_support::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "a small disk can't be mounted here (needs root)";
    Told told;
    IniSettingsStore store(disk.path());
    for (int i = 0; i < 27; ++i)
        store.save(A, S, QStringLiteral("k%1").arg(i), QStringLiteral("sample value %1").arg(i));
    const QByteArray before = testing_support::readAll(store.filePath(A));
    disk.fill();

    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("N"));
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("No"));
    EXPECT_EQ(testing_support::readAll(store.filePath(A)), before);
    EXPECT_EQ(told.troubles(), 1);

    disk.free();
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("Non"));
    IniSettingsStore restarted(disk.path());
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("txtNotes"), QString()), QStringLiteral("Non"));
    EXPECT_EQ(restarted.get(A, S, QStringLiteral("k0"), QString()), QStringLiteral("sample value 0"));
}

// ---- Outages: what was typed waits in memory, and nothing waits for it ------

namespace {

// Whether another instance could take the store's lock at this moment.
bool lockIsFree(const QString& store)
{
    platform::FileLock other(store + QStringLiteral(".lock"));
    return other.tryLock(0);
}

}  // namespace

TEST(SettingsStore, ALockHeldByAnotherProgramHoldsNoKeystrokeBackAndTheTimerWritesOnceItIsLetGo)
{
    QTemporaryDir dir;
    Told told;
    IniSettingsStore store(dir.path());
    store.save(A, S, QStringLiteral("txtNotes"), QStringLiteral("before"));
    const QString path = store.filePath(A);
    QProcess holder;  // another program of the vendor, writing the shared file
    // It holds the lock until its input closes.
    holder.start(QStringLiteral("flock"), {QStringLiteral("-o"), path + QStringLiteral(".lock"), QStringLiteral("sh"),
                                           QStringLiteral("-c"), QStringLiteral("echo held; exec cat")});
    ASSERT_TRUE(holder.waitForReadyRead(5000)) << "flock (util-linux) is needed";

    for (const char* typed : {"F", "FU", "FUL", "FULL"})
        store.save(A, S, QStringLiteral("txtTitle"), QLatin1String(typed));
    EXPECT_EQ(store.get(A, S, QStringLiteral("txtTitle"), QString()), QStringLiteral("FULL"));
    ASSERT_EQ(told.troubles(), 1);
    EXPECT_EQ(told.log[0].reason, QStringLiteral("another program keeps the settings locked"));
    EXPECT_FALSE(testing_support::readAll(path).contains("FULL"));

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(testing_support::eventually([&] { return testing_support::readAll(path).contains("txtTitle=FULL\n"); }))
        << "what was typed is written once the lock is let go, with no keystroke after it";
    EXPECT_EQ(store.trouble(), meeting::StoreTrouble());
    EXPECT_EQ(told.log.back(), meeting::StoreTrouble());
}

// A failing disk, through the seam and for real: the lock is let go before
// the user is told, so another instance is never locked out by a notice or a
// question; closing asks before losing anything, No keeping the window.
TEST(SettingsStore, TheLockIsFreeWhenTheUserIsToldAndClosingAsksBeforeLosingAnything)
{
    const testing_support::SmallDisk small;
    for (const bool real : {false, true}) {
        SCOPED_TRACE(real ? "a real full disk" : "a failing write");
        if (real && !small.mounted())
            continue;
        testing_support::ProgramFolders folders;
        const testing_support::SettingsFolderOverride on(real ? small.path() : folders.settings());
        folders.restart();
        testing_support::ScriptedDialogs dialogs;
        const QString path = meeting::settingsFolder() + QStringLiteral("/Tessaly.ini");
        int toldWithTheLockFree = 0, told = 0;
        const testing_support::TroubleListenerOverride listening([&](const meeting::StoreTrouble&) {
            ++told;
            toldWithTheLockFree += lockIsFree(path);
        });
        dialogs.onBox = [&](const testing_support::ShownBox&) {
            EXPECT_TRUE(lockIsFree(path)) << "asked under the lock";
        };
        meeting::SaveSetting(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG"));
        std::optional<testing_support::FailingWrites> failing;
        if (real)
            small.fill();
        else
            failing.emplace(ENOSPC);
        meeting::SaveSetting(A, S, QStringLiteral("txtTitle"), QStringLiteral("BIG MEETING"));
        EXPECT_EQ(told, 1);
        EXPECT_EQ(toldWithTheLockFree, told);

        dialogs.answers = {app::vbNo};
        EXPECT_FALSE(meeting::mayEndProgram());
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Your last changes can't be saved to %1 (%2). Close anyway "
                                                        "and lose them?")
                                             .arg(path, platform::systemReason(ENOSPC)));
        EXPECT_EQ(dialogs.boxes[0].style, app::vbYesNo | app::vbExclamation | app::vbDefaultButton2);
        EXPECT_EQ(meeting::GetSetting(A, S, QStringLiteral("txtTitle")), QStringLiteral("BIG MEETING"));

        dialogs.answers = {app::vbYes};
        EXPECT_TRUE(meeting::mayEndProgram());

        // Room again: closing writes what waited, and asks nothing.
        failing.reset();
        small.free();
        EXPECT_TRUE(meeting::mayEndProgram());
        EXPECT_EQ(dialogs.boxes.size(), 2u);
        EXPECT_TRUE(testing_support::readAll(path).contains("txtTitle=BIG MEETING\n"));
    }
}

// Stopped by the system while the disk is full, the program keeps what it
// could not write, asks nobody, and the next start offers it back; a stop
// while that question is up leaves it to be offered again.
TEST(SettingsStore, AStopKeepsWhatCouldNotBeWrittenAndTheNextStartOffersItBack)
{
    const struct {
        const char* what;
        int answer;
        bool stoppedWhileAsked;
    } cases[] = {{"put back", app::vbYes, false}, {"discarded", app::vbNo, false}, {"stopped again", app::vbNo, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ProgramFolders folders;
        testing_support::ScriptedDialogs dialogs;
        const testing_support::ClockOverride clock([] { return QDateTime(QDate(2026, 12, 8), QTime(17, 30)); });
        const testing_support::LocaleOverride locale(QLocale(QStringLiteral("en_US")));
        meeting::SaveSetting(A, S, QStringLiteral("txtTitle"), QStringLiteral("FULL"));
        const QString store = meeting::settingsFolder() + QStringLiteral("/Tessaly.ini");
        const QString kept = IniSettingsStore::recoveryFilePath(store);
        {
            testing_support::FailingWrites disk(ENOSPC, 0, folders.settings());
            meeting::SaveSetting(A, S, QStringLiteral("txtTitle"), QStringLiteral("FULLLAST"));
            meeting::SaveSetting(A, S, QStringLiteral("txtNotes"), QStringLiteral("one more"));
            const testing_support::StopRequestOverride stopping(true);
            EXPECT_TRUE(meeting::mayEndProgram());
        }
        EXPECT_TRUE(dialogs.boxes.empty()) << "nobody may be there to answer";
        EXPECT_EQ(QFile::permissions(kept) & 0x0077, 0) << "kept for the user alone";

        folders.restart();
        dialogs.answers = {c.answer};
        {
            const testing_support::StopRequestOverride stopping(c.stoppedWhileAsked);
            meeting::GetSetting(A, S, QStringLiteral("txtTitle"));
        }
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text,
                  QStringLiteral("The program was stopped on 08-Dec-2026 at 17:30 before your last changes could be "
                                 "saved to the settings file\n%1\nThey were kept in\n%2\n\nPut them back into the "
                                 "form? (No discards them.)")
                      .arg(store, kept));
        EXPECT_EQ(QFile::exists(kept), c.stoppedWhileAsked) << "offered once, unless nobody answered";
        folders.restart();
        if (c.stoppedWhileAsked)
            dialogs.answers = {app::vbYes};
        const bool back = c.answer == app::vbYes || c.stoppedWhileAsked;
        EXPECT_EQ(meeting::GetSetting(A, S, QStringLiteral("txtTitle")),
                  back ? QStringLiteral("FULLLAST") : QStringLiteral("FULL"));
        EXPECT_EQ(meeting::GetSetting(A, S, QStringLiteral("txtNotes")), back ? QStringLiteral("one more") : QString());
        folders.restart();
        EXPECT_EQ(meeting::GetSetting(A, S, QStringLiteral("txtNotes")), back ? QStringLiteral("one more") : QString())
            << "written to the store itself";
    }
}
