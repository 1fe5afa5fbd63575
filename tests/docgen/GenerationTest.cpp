#include "app/Clock.h"
#include "app/Environment.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "app/Random.h"
#include "app/Resources.h"
#include "automation/AutomationError.h"
#include "automation/Registry.h"
#include "docgen/Clipboard.h"
#include "docgen/TemplateFilling.h"
#include "meeting/DateText.h"
#include "tests/support/GenerationDoubles.h"
#include "tests/support/RecordingObject.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "ui/Pointer.h"
#include "wordproc/Package.h"
#include "wordproc/WordApplication.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <stop_token>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace automation;
using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {

using testing_support::RecordingObject;

// A word processor that answers the page count it is given and 23 rows, and
// hands out further recorders, named by their path, for everything else.
RecordingObject::Answer wordProcessor(int pages)
{
    return [pages](const RecordingObject& self, const testing_support::Call& c) -> Value {
        if (c.member == QLatin1String("BuiltInDocumentProperties"))
            return Value(qint32(pages));
        if (c.member == QLatin1String("count"))
            return Value(qint32(23));
        if (c.kind == CallKind::PropertyPut)
            return {};
        return Value(self.child(c.member));
    };
}

class Generation : public testing::Test {
protected:
    void SetUp() override
    {
        // The sample meeting, as "Load Sample/Example Data" puts it into the window.
        app::Guard g(app::label::Form1_PushButton3_Click);
        meeting::loadSampleRecord(host, g);
    }
    QStringList tempFiles() const { return QDir(folders.temp()).entryList(QDir::Files | QDir::Hidden); }
    testing_support::RecordingPreview& preview() { return host.port; }
    QStringList reportLines() const { return dialogs.errorReportLines(); }

    ProgramFolders folders;
    ScriptedDialogs dialogs;
    testing_support::RecordingHost host;
    const testing_support::ClockOverride clock{[] { return QDateTime(QDate(2026, 12, 7), QTime(13, 5, 0), Qt::UTC); }};
    const testing_support::LocaleOverride locale{QLocale(QStringLiteral("en_US"))};
};

// Scripted digits for the document's name, while the result lives.
testing_support::RandomOverride scriptDigits(const QString& digits)
{
    auto at = std::make_shared<int>(0);
    return testing_support::RandomOverride(
        [digits, at] { return (digits.at((*at)++ % digits.size()).digitValue() - 1) / 9.0 + 0.01; });
}

}  // namespace

TEST_F(Generation, TheSampleMeetingBecomesADocumentShownInThePreview)
{
    docgen::fillTemplate(host);
    EXPECT_TRUE(dialogs.boxes.empty()) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text.toStdString());
    const QStringList files = tempFiles();
    ASSERT_EQ(files.size(), 1);  // no template.dot, no temp.bmp left behind
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kvarne[1-9]{8}\\.doc$")).match(files[0]).hasMatch())
        << files[0].toStdString();
    EXPECT_EQ(preview().wordFile, QDir(folders.temp()).filePath(files[0]));
    EXPECT_EQ(preview().pages, QStringList({"Page 1"}));
    EXPECT_FALSE(preview().shown.isNull());
    EXPECT_EQ(preview().shownCount, 1);
    EXPECT_TRUE(host.hidden);
    EXPECT_TRUE(host.repaintAllowed);
    EXPECT_FALSE(host.runUnderWay());
    EXPECT_EQ(host.pointerShape, ui::vbDefault);
}

TEST_F(Generation, ASecondClickDuringARunDoesNothing)
{
    QTimer::singleShot(0, [this] { docgen::fillTemplate(host); });
    docgen::fillTemplate(host);  // the queued click runs while this run lets events through
    EXPECT_EQ(tempFiles().size(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
    docgen::fillTemplate(host);  // after the run a click starts a full one
    EXPECT_EQ(tempFiles().size(), 2);
}

TEST_F(Generation, NamesDrawnWithinOneClockSecondHaveDigitsOneToNineAndDiffer)
{
    // The real generator, the clock standing still: seeding again with the
    // same second must not restart the sequence.
    QStringList names;
    for (int run = 0; run < 5; ++run) {
        docgen::fillTemplate(host);
        names << QFileInfo(preview().wordFile).fileName();
        QFile::remove(preview().wordFile);  // as "< Back" does: no name is drawn again for being taken
    }
    for (const QString& name : names) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^kvarne[1-9]{8}\\.doc$")).match(name).hasMatch())
            << name.toStdString();
        const QString digits = name.mid(6, 8);
        EXPECT_NE(digits.count(digits.front()), 8) << name.toStdString();
    }
    QStringList distinct = names;
    distinct.removeDuplicates();
    EXPECT_EQ(distinct.size(), names.size());
}

TEST_F(Generation, ANameAlreadyTakenIsDrawnAgain)
{
    const auto digits = scriptDigits(QStringLiteral("1111111123456789"));
    testing_support::writeFile(QDir(folders.temp()).filePath(QStringLiteral("kvarne11111111.doc")), "someone else's");
    docgen::fillTemplate(host);
    EXPECT_EQ(QFileInfo(preview().wordFile).fileName(), QStringLiteral("kvarne23456789.doc"));
    EXPECT_EQ(testing_support::readAll(QDir(folders.temp()).filePath(QStringLiteral("kvarne11111111.doc"))),
              QByteArray("someone else's"));
}

// ---- A temporary folder shared with other users -------------------------------

namespace {

// The template with one label changed, as someone else might leave it.
QString plantTemplate(const QString& path)
{
    wordproc::DocumentModel m = wordproc::readPackage(app::LoadResData(101, QStringLiteral("CUSTOM")), path);
    auto& cell = m.tables()[0]->rows[3].cells[0];
    cell.paragraphs[0].runs = {wordproc::Run{QStringLiteral("PLANTED"), {}}};
    wordproc::savePackage(m, path, 1);
    return path;
}

QString labelOfRow4(const QString& document)
{
    wordproc::DocumentModel m = wordproc::loadPackage(document);
    return m.tables()[0]->rows[3].cells[0].paragraphs[0].text();
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST_F(Generation, ATemplateFoundInTheTemporaryFolderIsOpenedOnlyWhenNobodyElseCouldHaveWrittenIt)
{
    const QString path = QDir(folders.temp()).filePath(QStringLiteral("template.dot"));
    const QString elsewhere = folders.program() + QStringLiteral("/elsewhere.dot");
    struct Case {
        const char* what;
        std::function<bool()> plant;  // false: can't be made here
        const char* refusal;  // nullptr: opened as it is
    };
    const Case cases[] = {
        {"a leftover of the user's own run",
         [&] {
             plantTemplate(path);
             return ::chmod(QFile::encodeName(path), 0600) == 0;
         },
         nullptr},
        {"a file others can change",
         [&] {
             plantTemplate(path);
             return ::chmod(QFile::encodeName(path), 0664) == 0;
         },
         "can be changed by other users"},
        {"another user's file",
         [&] {
             plantTemplate(path);
             return ::chown(QFile::encodeName(path), 65534, 65534) == 0;
         },
         "belongs to another user"},
        {"a link", [&] { return QFile::link(plantTemplate(elsewhere), path); }, "is a link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        if (!c.plant()) {
            GTEST_LOG_(INFO) << "not tried here: " << c.what << " (needs root)";
            continue;
        }
        dialogs.boxes.clear();
        docgen::fillTemplate(host);
        const auto reports = dialogs.errorReports();
        const QString generated = preview().wordFile;
        if (!c.refusal) {
            EXPECT_TRUE(reports.empty());
            EXPECT_EQ(labelOfRow4(generated), QStringLiteral("PLANTED"));
        } else {
            ASSERT_EQ(reports.size(), 1u);  // told once, then the minutes come all the same
            EXPECT_TRUE(reports[0].text.contains(QLatin1String(c.refusal))) << reports[0].text.toStdString();
            EXPECT_TRUE(reports[0].text.contains(QStringLiteral("at line 114"))) << reports[0].text.toStdString();
            EXPECT_EQ(labelOfRow4(generated), QStringLiteral("Meeting called by"));
            EXPECT_EQ(preview().pageCount(), 1);
        }
        EXPECT_EQ(modeOf(generated), 0600u) << "the minutes are the user's alone";
        QFile::remove(generated);
        QFile::remove(path);
    }
}

namespace {

// The real word processor, with `beforeOpen` run as it is asked to open a
// document by name: after whatever the run checked, before the file is read.
class OpeningHook : public automation::Object {
public:
    OpeningHook(ObjectPtr real, std::function<void()> beforeOpen)
        : mReal(std::move(real)), mBeforeOpen(std::move(beforeOpen))
    {}
    QString typeName() const override { return mReal->typeName(); }
    Value invoke(const QString& member, CallKind kind, const Arguments& args) override
    {
        if (kind == CallKind::Method && member.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0)
            mBeforeOpen();
        const Value v = mReal->invoke(member, kind, args);
        return v.kind() == Kind::Object ? Value(ObjectPtr(std::make_shared<OpeningHook>(v.toObject(), mBeforeOpen)))
                                        : v;
    }

private:
    ObjectPtr mReal;
    std::function<void()> mBeforeOpen;
};

}  // namespace

TEST_F(Generation, InAFolderWhereOthersCreateFilesATemplateSwappedAfterItsCheckNeverGetsIn)
{
    // Shared as the system's temporary folder is: anyone may create files, the sticky bit keeps them apart.
    ASSERT_EQ(::chmod(QFile::encodeName(folders.temp()).constData(), 01777), 0);
    const QByteArray name = QFile::encodeName(QDir(folders.temp()).filePath(QStringLiteral("template.dot")));
    const QDir aside(folders.program());
    const QByteArray ours = QFile::encodeName(testing_support::writeTemplate(aside.path(), QStringLiteral("ours")));
    ::chmod(ours.constData(), 0600);
    const QByteArray planted = QFile::encodeName(plantTemplate(aside.filePath(QStringLiteral("planted"))));
    const QByteArray theirs = QFile::encodeName(plantTemplate(aside.filePath(QStringLiteral("theirs"))));
    const bool foreign = testing_support::giveToAnotherUser(QFile::decodeName(theirs));
    if (!foreign)
        GTEST_LOG_(INFO) << "another user's file not tried here (needs root); a link is";
    const QByteArray theirsSlot = QFile::encodeName(aside.filePath(QStringLiteral("b")));
    const QByteArray linkSlot = QFile::encodeName(aside.filePath(QStringLiteral("c")));
    // Ours under the name; another user's file and a link at hand to trade places with it.
    const auto lay = [&] {
        for (const QByteArray& n : {name, theirsSlot, linkSlot})
            ::unlink(n.constData());
        ::link(ours.constData(), name.constData());
        ::link(theirs.constData(), theirsSlot.constData());
        ::symlink(planted.constData(), linkSlot.constData());
    };
    const auto trade = [&](const QByteArray& slot) {
        if (::renameat2(AT_FDCWD, name.constData(), AT_FDCWD, slot.constData(), RENAME_EXCHANGE) != 0)
            lay();  // the run removed what it found under the name
    };
    const auto minutesAreOurs = [&] {
        const QString label = labelOfRow4(preview().wordFile);
        QFile::remove(preview().wordFile);
        return label == QStringLiteral("Meeting called by");
    };

    // The swap at the worst moment: as the word processor opens what the run checked.
    for (const QByteArray* slot : {&theirsSlot, &linkSlot}) {
        if (slot == &theirsSlot && !foreign)
            continue;
        lay();
        automation::ScopedRegistration word(QStringLiteral("Word.Application"), [&] {
            return std::make_shared<OpeningHook>(wordproc::createWordApplication(), [&] {
                struct stat st {};
                if (::lstat(name.constData(), &st) == 0 && !S_ISLNK(st.st_mode) && st.st_uid == ::geteuid())
                    trade(*slot);
            });
        });
        docgen::fillTemplate(host);
        EXPECT_TRUE(minutesAreOurs()) << (slot == &linkSlot ? "a link" : "another user's file");
    }

    // And on the real system: a thread trading as fast as it goes while runs check the file.
    lay();
    std::jthread swapper([&](std::stop_token stop) {
        for (int i = 0; !stop.stop_requested(); ++i)
            trade(foreign && i % 4 < 2 ? theirsSlot : linkSlot);
    });
    for (int run = 0; run < 20; ++run) {
        docgen::fillTemplate(host);
        ASSERT_TRUE(minutesAreOurs()) << "run " << run;
    }
}

TEST_F(Generation, TwoCopiesOfTheProgramRunningAtOnceInASharedFolderEachKeepTheirOwnTemplate)
{
    ASSERT_EQ(::chmod(QFile::encodeName(folders.temp()).constData(), 01777), 0);
    testing_support::RecordingHost other;
    {
        app::Guard g(app::label::Form1_PushButton3_Click);
        meeting::loadSampleRecord(other, g);
    }
    bool started = false;
    // The other copy's whole run falls between this run's template and its opening.
    automation::ScopedRegistration word(QStringLiteral("Word.Application"), [&] {
        return std::make_shared<OpeningHook>(wordproc::createWordApplication(), [&] {
            if (!std::exchange(started, true))
                docgen::fillTemplate(other);
        });
    });
    docgen::fillTemplate(host);
    EXPECT_TRUE(dialogs.errorReports().empty()) << dialogs.errorReportLines().join(QLatin1Char('\n')).toStdString();
    for (const QString& document : {preview().wordFile, other.port.wordFile}) {
        EXPECT_EQ(labelOfRow4(document), QStringLiteral("Meeting called by"));
        QFile::remove(document);
    }
}

TEST_F(Generation, InAFolderWhereOthersCanReplaceFilesTheRunKeepsItsFilesInThePrivateFolder)
{
    ASSERT_EQ(::chmod(QFile::encodeName(folders.temp()).constData(), 0777), 0);
    QStringList written;  // every file the run writes, for as long as it is written
    {
        const testing_support::WriteCallOverride watch([&](int fd, const void* data, size_t size) {
            written << QFileInfo(testing_support::pathOfDescriptor(fd)).absolutePath();
            return ::write(fd, data, size);
        });
        docgen::fillTemplate(host);
    }
    EXPECT_TRUE(dialogs.boxes.empty()) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text.toStdString());
    written.removeDuplicates();
    EXPECT_EQ(written, QStringList({app::environment::privateTempFolder()}));
    EXPECT_EQ(tempFiles(), QStringList());
    EXPECT_EQ(QFileInfo(preview().wordFile).absolutePath(), app::environment::privateTempFolder());
    EXPECT_EQ(modeOf(preview().wordFile), 0600u);
    EXPECT_EQ(preview().pageCount(), 1);
    EXPECT_FALSE(preview().shown.isNull());
    QFile::remove(preview().wordFile);
}

TEST_F(Generation, APictureFileSwappedBeforeItIsReadBackIsNeverRead)
{
    const QString picture = QDir(folders.temp()).filePath(QStringLiteral("temp.bmp"));
    const std::pair<const char*, std::function<void()>> swaps[] = {
        {"a FIFO",
         [&] {
             QFile::remove(picture);
             ::mkfifo(QFile::encodeName(picture).constData(), 0600);
         }},
        {"a link to an endless device",
         [&] {
             QFile::remove(picture);
             QFile::link(QStringLiteral("/dev/zero"), picture);
         }},
        {"another picture of the user's own, renamed over it",
         [&] {
             platform::Picture other;
             other.size = QSizeF(1234, 5678);
             const QString aside = folders.program() + QStringLiteral("/other.bmp");
             testing_support::writeFile(aside, other.save());
             ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(picture).constData());
         }},
    };
    for (const auto& [what, swap] : swaps) {
        SCOPED_TRACE(what);
        dialogs.boxes.clear();
        // Between the picture's save (148) and its load (154) the page's item is added (150).
        preview().onAddPage = swap;
        const int shown = preview().shownCount;
        docgen::fillTemplate(host);
        preview().onAddPage = nullptr;
        EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form1.SaveDocAsJPG at line 154"}));
        EXPECT_NE(preview().imagePicture(0).size, QSizeF(1234, 5678)) << "the page shown is another file";
        EXPECT_EQ(preview().shownCount, shown + 1);
        QFile::remove(preview().wordFile);
        QFile::remove(picture);
    }
}

TEST_F(Generation, PagesAreRenderedThroughTheCallsTheWordProcessorIsDrivenWith)
{
    for (int pages : {1, 3}) {
        SCOPED_TRACE(pages);
        host.progress.clear();
        const testing_support::CallLog log = testing_support::makeCallLog();
        ScopedRegistration word(QStringLiteral("Word.Application"), [&] {
            return std::make_shared<RecordingObject>(QStringLiteral("Word"), log, wordProcessor(pages));
        });
        // What is opened is the resource, written out byte for byte.
        QByteArray opened;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const QString t = QDir(folders.temp()).filePath(QStringLiteral("template.dot"));
            if (opened.isEmpty() && QFile::exists(t))
                opened = testing_support::readAll(t);
        });
        const testing_support::ClipboardOverride clipboard([](qint32) {
            platform::Picture p;
            p.size = QSizeF(12240, 15840);
            return p;
        });
        probe.start(0);  // runs when the rendering lets pending events through
        docgen::fillTemplate(host);
        probe.stop();
        EXPECT_EQ(opened, app::LoadResData(101, QStringLiteral("CUSTOM")));
        EXPECT_TRUE(dialogs.errorReports().empty());
        const auto calls = [&](const char* line) { return log->count(QString::fromUtf8(line)); };
        EXPECT_EQ(calls("Word.Application.Selection.call EndKey(Unit=Integer 6, Extend=Integer 1)"), 1);
        EXPECT_EQ(calls("Word.Application.Selection.call GoTo(What=Integer 1, Which=Integer 2, Name=Integer 2)"),
                  pages - 1);
        EXPECT_EQ(calls("Word.Application.Selection.call HomeKey(Unit=Integer 6, Extend=Integer 1)"), pages - 1);
        EXPECT_EQ(calls("Word.Application.Selection.call Delete(Unit=Integer 1, count=Integer 1)"), pages - 1);
        EXPECT_EQ(calls("Word.Documents.Open.Range.call CopyAsPicture()"), pages);
        EXPECT_TRUE(log->contains(QStringLiteral("Word.ActiveDocument.call Close(savechanges=Integer 0)")));
        // An empty text box still has its cell selected and the empty text typed.
        EXPECT_TRUE(log->join(QLatin1Char('\n'))
                        .contains(QStringLiteral("Word.ActiveDocument.Tables.get Rows(Long 15)\n"
                                                 "Word.ActiveDocument.Tables.Rows.get Cells(Long 1)\n"
                                                 "Word.ActiveDocument.Tables.Rows.Cells.call Select()")));
        EXPECT_GE(calls("Word.Application.Selection.call TypeText(Text=String )"), 1);
        EXPECT_TRUE(log->contains(QStringLiteral("Word.Application.Selection.call TypeText(Text=String 01:05 PM)")));
        EXPECT_TRUE(log->contains(QStringLiteral("Word.Application.Selection.call TypeText(Text=String 07-Dec-2026)")));
        EXPECT_TRUE(log->contains(QStringLiteral("Word.Documents.call Open(String %1, <omitted>, Boolean True)")
                                      .arg(QDir(folders.temp()).filePath(QStringLiteral("template.dot")))));
        ASSERT_EQ(preview().pageCount(), pages);
        // The progress counts the pages from none to all, then ends.
        QStringList progress;
        for (int done = 0; done <= pages; ++done)
            progress << QStringLiteral("%1/%2").arg(done).arg(pages);
        EXPECT_EQ(host.progress, progress << QStringLiteral("end"));
        EXPECT_EQ(preview().pages.back(), QStringLiteral("Page %1").arg(pages));
        EXPECT_TRUE(preview().hasImage(pages - 1));
        QFile::remove(preview().wordFile);
    }
}

TEST_F(Generation, WithoutTheWordProcessorEveryStepReportsOnceAndTheRunStillEnds)
{
    ScopedRegistration none(QStringLiteral("Word.Application"),
                            []() -> ObjectPtr { throw std::runtime_error("not installed"); });
    QGuiApplication::clipboard()->clear();  // nothing left there by an earlier run
    docgen::fillTemplate(host);
    const QStringList lines = reportLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), QStringLiteral("in Pondrel2021/08/31.Form1.PushButton22_Click at line 110"));
    EXPECT_TRUE(lines.contains(QStringLiteral("in Pondrel2021/08/31.Form1.PushButton22_Click at line 286")));
    EXPECT_TRUE(lines.contains(QStringLiteral("in Pondrel2021/08/31.Form1.SaveDocAsJPG at line 116")));
    EXPECT_TRUE(lines.contains(QStringLiteral("in Pondrel2021/08/31.Form1.SaveDocAsJPG at line 148")));
    EXPECT_TRUE(lines.contains(QStringLiteral("in Pondrel2021/08/31.Form1.SaveDocAsJPG at line 154")));
    // In step order within each procedure; page rendering's reports come at step 294.
    QList<int> fill, render;
    for (const QString& l : lines)
        (l.contains(QStringLiteral("SaveDocAsJPG")) ? render : fill) << l.section(QLatin1Char(' '), -1).toInt();
    EXPECT_TRUE(std::is_sorted(fill.begin(), fill.end()));
    EXPECT_TRUE(std::is_sorted(render.begin(), render.end()));
    QStringList unique = lines;
    EXPECT_EQ(unique.removeDuplicates(), 0);  // one report per step
    EXPECT_EQ(preview().pages, QStringList({"Page 1"}));
    EXPECT_EQ(preview().shownCount, 1);
    EXPECT_FALSE(host.runUnderWay());
    EXPECT_TRUE(host.repaintAllowed);
    EXPECT_FALSE(QFile::exists(QDir(folders.temp()).filePath(QStringLiteral("template.dot"))));
}

TEST(ClipboardPicture, TriesUpToAThousandTimesWithoutWaiting)
{
    int tries = 0;
    const testing_support::ClipboardOverride clipboard([&](qint32) -> platform::Picture {
        if (++tries < 1000)
            throw std::runtime_error("busy");
        platform::Picture p;
        p.size = QSizeF(100, 100);
        return p;
    });
    EXPECT_FALSE(docgen::GetClipboardPicture(0).isNull());
    EXPECT_EQ(tries, 1000);
    tries = -5;
    EXPECT_TRUE(docgen::GetClipboardPicture(0).isNull());
    EXPECT_EQ(tries, 995);
}

TEST(TextForms, DatesTimesAndDeadlines)
{
    const testing_support::LocaleOverride locale(QLocale(QStringLiteral("en_US")));
    const QDateTime t(QDate(2026, 3, 4), QTime(13, 5), Qt::UTC);
    EXPECT_EQ(docgen::meetingDateText(t), QStringLiteral("04-Mar-2026"));
    EXPECT_EQ(docgen::meetingTimeText(t), QStringLiteral("01:05 PM"));
    EXPECT_EQ(docgen::meetingTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 7), Qt::UTC)), QStringLiteral("12:07 AM"));
    EXPECT_EQ(docgen::deadlineText(std::nullopt), QString());
    EXPECT_EQ(docgen::deadlineText(QDateTime(QDate(2027, 1, 15), QTime(0, 0), Qt::UTC)), QStringLiteral("1/15/2027"));
}
