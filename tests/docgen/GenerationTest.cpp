#include "app/Application.h"
#include "app/Clock.h"
#include "app/Random.h"
#include "app/Resources.h"
#include "automation/AutomationError.h"
#include "automation/Registry.h"
#include "docgen/Clipboard.h"
#include "docgen/TemplateFilling.h"
#include "entry/Form1.h"
#include "meeting/DateText.h"
#include "preview/Form2.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace automation;
using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {

// A stand-in word processor that records every call, answers the page count
// it is given and 23 rows, and hands out further recorders for everything else.
class Recorder : public Object {
public:
    Recorder(QString path, QStringList* log, int pages) : mPath(std::move(path)), mLog(log), mPages(pages) {}
    QString typeName() const override { return QStringLiteral("Word.Application"); }
    Value invoke(const QString& member, CallKind kind, const Arguments& args) override
    {
        QStringList parts;
        for (const auto& a : args.positional)
            parts << (a ? a->toString() : QStringLiteral("<omitted>"));
        for (const auto& [name, v] : args.named)
            parts << name + QLatin1Char('=') + kindName(v.kind()) + QLatin1Char(' ') + v.toString();
        *mLog << QStringLiteral("%1(%2)").arg(member, parts.join(QStringLiteral(", ")));
        if (member == QLatin1String("BuiltInDocumentProperties"))
            return Value(qint32(mPages));
        if (member == QLatin1String("count"))
            return Value(qint32(23));
        if (kind == CallKind::PropertyPut)
            return {};
        return Value(ObjectPtr(std::make_shared<Recorder>(mPath + QLatin1Char('.') + member, mLog, mPages)));
    }

private:
    QString mPath;
    QStringList* mLog;
    int mPages;
};

class Generation : public testing::Test {
protected:
    void SetUp() override
    {
        app::clock::setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(13, 5, 0), Qt::UTC); });
        meeting::setRegionalLocale(QLocale(QStringLiteral("en_US")));
        previousEnd = app::setProgramEnd([] {});
        form = std::make_unique<entry::Form1>();
        form->Form_Load();
        form->PushButton3_Click();
        form->show();
    }
    void TearDown() override
    {
        docgen::setClipboardRead({});
        app::random::setSource({});
        app::clock::setNow({});
        meeting::resetRegionalLocale();
        form.reset();
        app::setProgramEnd(previousEnd);
    }
    QStringList tempFiles() const { return QDir(folders.temp()).entryList(QDir::Files | QDir::Hidden); }
    preview::Form2& previewWindow() { return *form->previewWindow(); }
    QStringList reportLines() const
    {
        QStringList out;
        for (const auto& b : dialogs.errorReports())
            out << b.text.section(QStringLiteral("\r\n"), 1).section(QLatin1Char('\r'), 0, 0);
        return out;
    }

    ProgramFolders folders;
    ScriptedDialogs dialogs;
    app::ProgramEnd previousEnd;
    std::unique_ptr<entry::Form1> form;
};

// Scripted digits for the document's name.
void scriptDigits(const QString& digits)
{
    auto at = std::make_shared<int>(0);
    app::random::setSource([digits, at] { return (digits.at((*at)++ % digits.size()).digitValue() - 1) / 9.0 + 0.01; });
}

}  // namespace

TEST_F(Generation, TheSampleMeetingBecomesADocumentShownInThePreview)
{
    form->PushButton22->click();
    EXPECT_TRUE(dialogs.boxes.empty()) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text.toStdString());
    const QStringList files = tempFiles();
    ASSERT_EQ(files.size(), 1);  // no template.dot, no temp.bmp left behind
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kvarne[1-9]{8}\\.doc$")).match(files[0]).hasMatch())
        << files[0].toStdString();
    EXPECT_EQ(previewWindow().mWordFile, QDir(folders.temp()).filePath(files[0]));
    EXPECT_EQ(previewWindow().ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(previewWindow().ListView1->topLevelItem(0)->text(0), QStringLiteral("Page 1"));
    EXPECT_FALSE(previewWindow().Zoom_Ori->picture().isNull());
    EXPECT_TRUE(previewWindow().isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->updatesEnabled());
    EXPECT_FALSE(form->busy());
    EXPECT_EQ(form->pointer().shape(), app::vbDefault);
}

TEST_F(Generation, SavingCopiesTheDocumentAndAsksBeforeOverwriting)
{
    form->PushButton22->click();
    const QString generated = previewWindow().mWordFile;
    const QByteArray bytes = testing_support::readAll(generated);
    const QString target = folders.program() + QStringLiteral("/minutes");  // no extension is added

    dialogs.fileNames = {target};
    previewWindow().PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), bytes);
    EXPECT_EQ(dialogs.fileDialogTitles, QStringList({"Save File"}));
    EXPECT_EQ(dialogs.fileDialogFilters, QStringList({"Word Files (*.doc)"}));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Done."));
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Corvalin"));

    testing_support::writeFile(target, "old");
    dialogs.fileNames = {target};
    dialogs.answers = {app::vbNo};
    previewWindow().PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), QByteArray("old"));
    EXPECT_EQ(dialogs.boxes[1].text, QStringLiteral("Are you sure you wish to overwrite %1 ?").arg(target));
    EXPECT_EQ(dialogs.boxes[1].style, app::vbYesNo);
    EXPECT_EQ(dialogs.boxes[2].text, QStringLiteral("Done."));

    dialogs.fileNames = {target};
    dialogs.answers = {app::vbYes};
    previewWindow().PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), bytes);
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));

    const size_t before = dialogs.boxes.size();
    previewWindow().PushButton6->click();  // cancelled: nothing written, still "Done."
    EXPECT_EQ(dialogs.boxes.size(), before + 1);
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));
    EXPECT_EQ(dialogs.fileDialogTitles.size(), 4);
}

TEST_F(Generation, AFailedCopyIsReportedAndNotCalledDone)
{
    form->PushButton22->click();
    dialogs.fileNames = {folders.program() + QStringLiteral("/no/such/folder/minutes.doc")};
    previewWindow().PushButton6->click();
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_NE(dialogs.boxes.back().text, QStringLiteral("Done."));
}

TEST_F(Generation, SavingOverAFileReplacesItOnlyWhenTheCopyIsWhole)
{
    form->PushButton22->click();
    const QString generated = previewWindow().mWordFile;
    const QString target = folders.program() + QStringLiteral("/minutes.doc");
    const auto saveOver = [&](const std::function<void()>& during) {
        testing_support::writeFile(target, "the user's old minutes");
        dialogs.boxes.clear();
        dialogs.fileNames = {target};
        dialogs.answers = {app::vbYes};
        during();
    };
    // A disk that fills up during the copy, and a generated file that vanished.
    saveOver([&] {
        testing_support::FailingWrites disk(ENOSPC, 1000);
        previewWindow().PushButton6->click();
    });
    EXPECT_EQ(testing_support::readAll(target), QByteArray("the user's old minutes"));
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_EQ(QDir(folders.program()).entryList(QDir::Files | QDir::Hidden), QStringList({"minutes.doc"}));

    const QByteArray bytes = testing_support::readAll(generated);
    QFile::rename(generated, generated + QStringLiteral(".away"));
    saveOver([&] { previewWindow().PushButton6->click(); });
    EXPECT_EQ(testing_support::readAll(target), QByteArray("the user's old minutes"));
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_NE(dialogs.boxes.back().text, QStringLiteral("Done."));
    QFile::rename(generated + QStringLiteral(".away"), generated);

    // A saved file has the permissions of the one it replaces, or those of
    // any new file; never the private ones of the temporary folder.
    ::chmod(QFile::encodeName(target).constData(), 0640);
    saveOver([&] { previewWindow().PushButton6->click(); });
    EXPECT_EQ(testing_support::readAll(target), bytes);
    struct stat st {};
    ::stat(QFile::encodeName(target).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const mode_t mask = ::umask(022);
    dialogs.fileNames = {target + QStringLiteral(".new")};
    previewWindow().PushButton6->click();
    ::umask(mask);
    ::stat(QFile::encodeName(target + QStringLiteral(".new")).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(Generation, BackRemovesTheDocumentAndShowsTheEntryWindow)
{
    form->PushButton22->click();
    const QString generated = previewWindow().mWordFile;
    previewWindow().PushButton8->click();
    EXPECT_FALSE(QFile::exists(generated));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(previewWindow().isVisible());
    EXPECT_TRUE(tempFiles().isEmpty());

    // A second run reuses the window; its first-activation setup does not run again.
    form->PushButton22->click();
    EXPECT_EQ(previewWindow().ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(previewWindow().ListView1->headerItem()->text(0), QStringLiteral("Page(s)"));
}

TEST_F(Generation, ASecondClickDuringARunDoesNothing)
{
    QTimer::singleShot(0, form->PushButton22, [this] { form->PushButton22->click(); });
    form->PushButton22->click();  // the queued click runs while this run lets events through
    EXPECT_EQ(tempFiles().size(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
    form->PushButton22->click();  // after the run a click starts a full one
    EXPECT_EQ(tempFiles().size(), 2);
}

TEST_F(Generation, NamesDrawnWithinOneClockSecondHaveDigitsOneToNineAndDiffer)
{
    // The real generator, the clock standing still: seeding again with the
    // same second must not restart the sequence.
    QStringList names;
    for (int run = 0; run < 5; ++run) {
        form->PushButton22->click();
        names << QFileInfo(previewWindow().mWordFile).fileName();
        previewWindow().PushButton8->click();
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
    scriptDigits(QStringLiteral("1111111123456789"));
    testing_support::writeFile(QDir(folders.temp()).filePath(QStringLiteral("kvarne11111111.doc")), "someone else's");
    form->PushButton22->click();
    EXPECT_EQ(QFileInfo(previewWindow().mWordFile).fileName(), QStringLiteral("kvarne23456789.doc"));
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
        form->PushButton22->click();
        const auto reports = dialogs.errorReports();
        const QString generated = previewWindow().mWordFile;
        if (!c.refusal) {
            EXPECT_TRUE(reports.empty());
            EXPECT_EQ(labelOfRow4(generated), QStringLiteral("PLANTED"));
        } else {
            ASSERT_EQ(reports.size(), 1u);  // told once, then the minutes come all the same
            EXPECT_TRUE(reports[0].text.contains(QLatin1String(c.refusal))) << reports[0].text.toStdString();
            EXPECT_TRUE(reports[0].text.contains(QStringLiteral("at line 114"))) << reports[0].text.toStdString();
            EXPECT_EQ(labelOfRow4(generated), QStringLiteral("Meeting called by"));
            EXPECT_EQ(previewWindow().ListView1->topLevelItemCount(), 1);
        }
        EXPECT_EQ(modeOf(generated), 0600u) << "the minutes are the user's alone";
        previewWindow().PushButton8->click();
        QFile::remove(path);
    }
}

TEST_F(Generation, APictureFileSwappedForALinkOrAFifoIsNeverRead)
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
        {"another file",
         [&] {
             QFile::remove(picture);
             testing_support::writeFile(picture, "not a picture");
         }},
    };
    form->PushButton22->click();  // the preview window exists from the first run on
    previewWindow().PushButton8->click();
    for (const auto& [what, swap] : swaps) {
        SCOPED_TRACE(what);
        dialogs.boxes.clear();
        // Between the picture's save (148) and its load (154) the page's item is added (150).
        const auto connection =
            QObject::connect(previewWindow().ListView1->model(), &QAbstractItemModel::rowsInserted, swap);
        form->PushButton22->click();
        QObject::disconnect(connection);
        EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form1.SaveDocAsJPG at line 154"}));
        EXPECT_TRUE(previewWindow().isVisible());
        previewWindow().PushButton8->click();
        QFile::remove(picture);
    }
}

TEST_F(Generation, PagesAreRenderedThroughTheCallsTheWordProcessorIsDrivenWith)
{
    for (int pages : {1, 3}) {
        SCOPED_TRACE(pages);
        QStringList log;
        ScopedRegistration word(QStringLiteral("Word.Application"),
                                [&] { return std::make_shared<Recorder>(QStringLiteral("Word"), &log, pages); });
        // What is opened is the resource, written out byte for byte.
        QByteArray opened;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const QString t = QDir(folders.temp()).filePath(QStringLiteral("template.dot"));
            if (opened.isEmpty() && QFile::exists(t))
                opened = testing_support::readAll(t);
        });
        docgen::setClipboardRead([](qint32) {
            platform::Picture p;
            p.size = QSizeF(12240, 15840);
            return p;
        });
        form->show();
        probe.start(0);  // runs when the rendering lets pending events through
        form->PushButton22->click();
        probe.stop();
        EXPECT_EQ(opened, app::LoadResData(101, QStringLiteral("CUSTOM")));
        EXPECT_TRUE(dialogs.errorReports().empty());
        const QString all = log.join(QLatin1Char('\n'));
        EXPECT_EQ(all.count(QStringLiteral("EndKey(Unit=Integer 6, Extend=Integer 1)")), 1);
        EXPECT_EQ(all.count(QStringLiteral("GoTo(What=Integer 1, Which=Integer 2, Name=Integer 2)")), pages - 1);
        EXPECT_EQ(all.count(QStringLiteral("HomeKey(Unit=Integer 6, Extend=Integer 1)")), pages - 1);
        EXPECT_EQ(all.count(QStringLiteral("Delete(Unit=Integer 1, count=Integer 1)")), pages - 1);
        EXPECT_EQ(all.count(QStringLiteral("CopyAsPicture()")), pages);
        EXPECT_TRUE(all.contains(QStringLiteral("Close(savechanges=Integer 0)")));
        // An empty text box still has its cell selected and the empty text typed.
        EXPECT_TRUE(all.contains(QStringLiteral("Rows(15)\nCells(1)\nSelect()")));
        EXPECT_GE(all.count(QStringLiteral("TypeText(Text=String )")), 1);
        EXPECT_TRUE(all.contains(QStringLiteral("TypeText(Text=String 01:05 PM)")));
        EXPECT_TRUE(all.contains(QStringLiteral("TypeText(Text=String 07-Dec-2026)")));
        EXPECT_TRUE(all.contains(QStringLiteral("Open(%1, <omitted>, True)")
                                     .arg(QDir(folders.temp()).filePath(QStringLiteral("template.dot")))));
        ASSERT_EQ(previewWindow().ListView1->topLevelItemCount(), pages);
        EXPECT_EQ(previewWindow().ListView1->topLevelItem(pages - 1)->text(0), QStringLiteral("Page %1").arg(pages));
        EXPECT_TRUE(previewWindow().hasImage(pages - 1));
        previewWindow().PushButton8->click();
    }
}

TEST_F(Generation, WithoutTheWordProcessorEveryStepReportsOnceAndTheRunStillEnds)
{
    ScopedRegistration none(QStringLiteral("Word.Application"),
                            []() -> ObjectPtr { throw std::runtime_error("not installed"); });
    QGuiApplication::clipboard()->clear();  // nothing left there by an earlier run
    form->PushButton22->click();
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
    EXPECT_EQ(previewWindow().ListView1->topLevelItem(0)->text(0), QStringLiteral("Page 1"));
    EXPECT_TRUE(previewWindow().isVisible());
    EXPECT_FALSE(form->busy());
    EXPECT_TRUE(form->updatesEnabled());
    EXPECT_FALSE(QFile::exists(QDir(folders.temp()).filePath(QStringLiteral("template.dot"))));
}

TEST(ClipboardPicture, TriesUpToAThousandTimesWithoutWaiting)
{
    int tries = 0;
    docgen::setClipboardRead([&](qint32) -> platform::Picture {
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
    docgen::setClipboardRead({});
}

TEST(TextForms, DatesTimesAndDeadlines)
{
    meeting::setRegionalLocale(QLocale(QStringLiteral("en_US")));
    const QDateTime t(QDate(2026, 3, 4), QTime(13, 5), Qt::UTC);
    EXPECT_EQ(docgen::meetingDateText(t), QStringLiteral("04-Mar-2026"));
    EXPECT_EQ(docgen::meetingTimeText(t), QStringLiteral("01:05 PM"));
    EXPECT_EQ(docgen::meetingTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 7), Qt::UTC)), QStringLiteral("12:07 AM"));
    EXPECT_EQ(docgen::deadlineText(std::nullopt), QString());
    EXPECT_EQ(docgen::deadlineText(QDateTime(QDate(2027, 1, 15), QTime(0, 0), Qt::UTC)), QStringLiteral("1/15/2027"));
    meeting::resetRegionalLocale();
}
