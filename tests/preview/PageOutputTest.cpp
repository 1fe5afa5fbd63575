#include "preview/PageOutput.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "docgen/TemplateFilling.h"
#include "preview/Form2.h"
#include "tests/support/GenerationDoubles.h"
#include "tests/support/SampleMeeting.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

using testing_support::ScriptedDialogs;

namespace {

// The entry window as generation sees it, filling the real preview.
class PreviewHost : public testing_support::RecordingHost {
public:
    explicit PreviewHost(preview::Form2& form) : mForm(form) {}
    docgen::PreviewPort& preview() override { return mForm; }

private:
    preview::Form2& mForm;
};

// A poppler tool's output; a missing tool fails the test, never skips it.
QString poppler(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        ADD_FAILURE() << tool.toStdString() << " is missing: install poppler-utils (scripts/test.sh does)";
        return QString();
    }
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << tool.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString info(const QString& pdf, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^%1:[ \\t]*(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(poppler(QStringLiteral("pdfinfo"), {pdf})).captured(1).trimmed();
}

// Each page's text, its blanks and line ends made single blanks.
QStringList pageTexts(const QString& pdf)
{
    QStringList pages = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& p : pages)
        p = p.simplified();
    return pages;
}

// One page of a PDF as a printer would put it on paper, at a pixel a point:
// the paper's size and the rectangle its marks reach.
struct OnPaper {
    QSize paper;
    QRect ink;
};
OnPaper onPaper(const QString& pdf, int page)
{
    const QString prefix = pdf + QStringLiteral(".page%1").arg(page);
    const QString n = QString::number(page);
    poppler(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"), n, QStringLiteral("-l"), n,
             QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, prefix});
    const QImage image = QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (line[x] < 128)
                ink |= QRect(x, y, 1, 1);
    }
    return {image.size(), ink};
}

// Within a pixel of each other: what rounding leaves between two renderings.
bool samePlace(const OnPaper& a, const OnPaper& b)
{
    const auto near = [](int u, int v) { return std::abs(u - v) <= 1; };
    return a.paper == b.paper && near(a.ink.left(), b.ink.left()) && near(a.ink.top(), b.ink.top())
           && near(a.ink.right(), b.ink.right()) && near(a.ink.bottom(), b.ink.bottom());
}

std::ostream& operator<<(std::ostream& os, const OnPaper& p)
{
    return os << p.paper.width() << "x" << p.paper.height() << " paper, ink " << p.ink.left() << "," << p.ink.top()
              << " to " << p.ink.right() << "," << p.ink.bottom();
}

// A printer that takes the pages and then fails the job, as one that runs
// out of paper or loses its connection does.
class FailingPrinter : public QPrinter {
public:
    FailingPrinter() { setEngines(&mEngine, &mEngine); }

private:
    class Engine : public QPaintEngine, public QPrintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override
        {
            mState = QPrinter::Active;
            return true;
        }
        bool end() override
        {
            mState = QPrinter::Error;
            return true;
        }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

        void setProperty(PrintEnginePropertyKey, const QVariant&) override {}
        QVariant property(PrintEnginePropertyKey) const override { return QVariant(); }
        bool newPage() override { return true; }
        bool abort() override { return false; }
        int metric(QPaintDevice::PaintDeviceMetric m) const override
        {
            switch (m) {
            case QPaintDevice::PdmDepth: return 32;
            case QPaintDevice::PdmDevicePixelRatio: return 1;
            case QPaintDevice::PdmDevicePixelRatioScaled:
                return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
            case QPaintDevice::PdmWidth:
            case QPaintDevice::PdmHeight: return 1000;
            default: return 72;
            }
        }
        QPrinter::PrinterState printerState() const override { return mState; }

    private:
        QPrinter::PrinterState mState = QPrinter::Idle;
    };
    Engine mEngine;
};

class PageOutput : public testing::Test {
protected:
    void SetUp() override
    {
        form.Form_Load();
        app::Guard g(app::label::Form1_PushButton3_Click);
        meeting::loadSampleRecord(host, g);
    }
    // One run of "Start Creating Template", with the discussion as long as asked.
    void generate(int words = 0)
    {
        QString prose = QStringLiteral("Penguins are black and white.");
        for (int i = 0; i < words; ++i)
            prose += QStringLiteral(" minutes%1").arg(i);
        host.texts[{meeting::Field::txtDiscussion1, 0}] = prose;
        docgen::fillTemplate(host);
        ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text.toStdString();
    }
    void choose(const QString& caption)
    {
        for (QAction* a : form.mnuPage->actions())
            if (a->text() == caption)
                return a->trigger();
        ADD_FAILURE() << "no menu item " << caption.toStdString();
    }
    QString saveAsPdf(const QString& name)
    {
        const QString path = QDir(out.path()).filePath(name);
        dialogs.fileNames.push_back(path);
        choose(QStringLiteral("Save as PDF\u2026"));
        return path;
    }
    QStringList reportLines() const { return dialogs.errorReportLines(); }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    testing_support::ProgramFolders folders;
    ScriptedDialogs dialogs;
    const testing_support::ClockOverride clock{[] { return QDateTime(QDate(2026, 12, 7), QTime(13, 5, 0), Qt::UTC); }};
    const testing_support::LocaleOverride locale{QLocale(QStringLiteral("en_US"))};
    QTemporaryDir out;
    preview::Form2 form;
    PreviewHost host{form};
};

}  // namespace

TEST(PdfFileName, IsTheTitleWithWhatAFileNameCantHoldReplaced)
{
    const struct {
        QString title, name;
    } cases[] = {
        {"BIG MEETING", "BIG MEETING.pdf"},
        {"Q3/Q4 review", "Q3-Q4 review.pdf"},
        {"a\\b:c*d?e\"f<g>h|i", "a-b-c-d-e-f-g-h-i.pdf"},  // what other file systems refuse too
        {QStringLiteral("nul") + QChar(0) + QStringLiteral("tab\tline\nend"), "nul-tab-line-end.pdf"},
        {"Review.", "Review.pdf"},
        {"minutes.PDF", "minutes.PDF"},
        {"  ..hidden  ", "hidden.pdf"},  // a leading dot would hide the file
        {"", "Minutes.pdf"},
        {"...", "Minutes.pdf"},
        // At most 255 bytes, cut between characters, never inside one.
        {QStringLiteral("\u00e9").repeated(300), QStringLiteral("\u00e9").repeated(125) + ".pdf"},
        {"a" + QStringLiteral("\U0001F600").repeated(100), "a" + QStringLiteral("\U0001F600").repeated(62) + ".pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(preview::pdfFileName(c.title), c.name) << c.title.toStdString();
}

// A title typed with line breaks is one line in both of the PDF's records of
// it, its information and its XMP metadata, which must agree.
TEST(PdfTitle, LineBreaksBecomeOneBlankAndBothRecordsAgree)
{
    QTemporaryDir out;
    platform::Picture page;
    page.size = QSizeF(12240, 15840);
    const std::pair<const char16_t*, const char*> titles[] = {
        {u"Two\r\nLine", "Two Line"},
        {u"Two\nLine\rThree", "Two Line Three"},
        {u"Two\r\n\r\nLine\u2028End", "Two Line End"},
        {u"One line", "One line"},
    };
    for (const auto& [typed, shown] : titles) {
        SCOPED_TRACE(shown);
        const QString pdf = QDir(out.path()).filePath(QStringLiteral("title.pdf"));
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(preview::pdfOfPages({std::make_shared<const platform::Picture>(page)}, QString::fromUtf16(typed)));
        file.close();
        EXPECT_EQ(info(pdf, QStringLiteral("Title")), QLatin1String(shown));
        const QString xmp = poppler(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
        const QRegularExpression dcTitle(QStringLiteral("<dc:title>.*?<rdf:li[^>]*>(.*?)</rdf:li>"),
                                         QRegularExpression::DotMatchesEverythingOption);
        EXPECT_EQ(dcTitle.match(xmp).captured(1), QLatin1String(shown)) << xmp.toStdString();
    }
}

TEST_F(PageOutput, TheSampleMeetingsPdfHasItsPagesPaperTitleAndTextsInReadingOrder)
{
    generate(2000);  // a longer run first leaves page pictures beyond the sample's
    ASSERT_GT(form.pageCount(), 1);
    dialogs.boxes.clear();
    generate();
    const QString pdf = saveAsPdf(QStringLiteral("minutes")) + QStringLiteral(".pdf");  // typed without its suffix

    EXPECT_EQ(info(pdf, QStringLiteral("Pages")), QString::number(form.pageCount()));
    EXPECT_EQ(info(pdf, QStringLiteral("Page size")), QStringLiteral("612 x 792 pts (letter)"));
    EXPECT_EQ(info(pdf, QStringLiteral("Title")), QStringLiteral("BIG MEETING"));
    // Every font is in the file, so it reads the same where the font is not installed.
    const QString fonts = poppler(QStringLiteral("pdffonts"), {pdf});
    EXPECT_GE(fonts.count(QStringLiteral(" yes ")), 1) << fonts.toStdString();
    EXPECT_FALSE(fonts.contains(QRegularExpression(QStringLiteral("\\bno\\s+(yes|no)\\s+(yes|no)\\s+\\d+"))))
        << fonts.toStdString();

    // The texts as the document shows them: the all-capitals cells in capitals.
    const QString text = pageTexts(pdf).join(QLatin1Char(' '));
    qsizetype at = 0;
    for (const testing_support::Piece& piece : testing_support::samplePieces()) {
        const QString shown = piece.caps ? piece.text.toUpper() : piece.text;
        if (shown.isEmpty())
            continue;
        const qsizetype found = text.indexOf(shown, at);
        EXPECT_GE(found, at) << shown.toStdString() << " not found after position " << at
                             << " in: " << text.toStdString();
        if (found >= at)
            at = found + shown.size();
    }
    EXPECT_EQ(reportLines(), QStringList());
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));

    // The page on show, pasted elsewhere: a Letter page at 150 dpi with something on it.
    choose(QStringLiteral("Copy Page"));
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(1275, 1650));
    QImage blank(copied.size(), copied.format());
    blank.fill(Qt::white);
    EXPECT_NE(copied, blank) << "the copied page is blank";
}

// Twelve topics run over several pages; each topic's texts follow the one's before.
TEST_F(PageOutput, EveryTopicsTextsFollowEachOtherInThePdf)
{
    constexpr int kTopics = 12;
    host.lastTopic = kTopics - 1;
    QStringList expected;
    for (int topic = 0; topic < kTopics; ++topic) {
        for (const meeting::FieldFacts& f : meeting::kFields) {
            if (!f.topic || f.kind != meeting::FieldKind::Text)
                continue;
            const QString text = QStringLiteral("t%1 %2").arg(topic + 1).arg(QLatin1String(f.name).mid(3));
            host.texts[{f.field, topic}] = text;
        }
        // In the order the page shows them: row by row, each row's cells from the left.
        for (const meeting::Field f :
             {meeting::Field::txtTimeAlloted, meeting::Field::txtTopic, meeting::Field::txtPresenter,
              meeting::Field::txtDiscussion1, meeting::Field::txtDiscussion2, meeting::Field::txtDiscussion3,
              meeting::Field::txtConclusion1, meeting::Field::txtConclusion2, meeting::Field::txtConclusion3,
              meeting::Field::txtAction1, meeting::Field::txtPerson1, meeting::Field::txtAction2,
              meeting::Field::txtPerson2}) {
            const QString text = host.texts[{f, topic}];
            expected << (meeting::facts(f).caps ? text.toUpper() : text);
        }
    }
    docgen::fillTemplate(host);
    ASSERT_EQ(reportLines(), QStringList());
    ASSERT_GT(form.pageCount(), 2);
    const QString pdf = saveAsPdf(QStringLiteral("topics.pdf"));
    const QString text = pageTexts(pdf).join(QLatin1Char(' '));
    qsizetype at = 0;
    for (const QString& shown : expected) {
        const qsizetype found = text.indexOf(shown + QLatin1Char(' '), at);
        ASSERT_GE(found, at) << shown.toStdString() << " not found after position " << at
                             << " in: " << text.toStdString();
        at = found + shown.size();
    }
}

// Names in any script can be searched for and copied out of the PDF: a Korean
// one drawn by the setup's Hangul font, and Ethiopic and Thai ones that no
// font of the setup has, drawn as boxes whose glyphs still map back to them.
TEST_F(PageOutput, NamesInEveryScriptComeOutOfThePdfAsTyped)
{
    const QString names[] = {
        QStringLiteral("\uAE40\uBBFC\uC900"),  // Kim Minjun (install fonts-nanum: scripts/test.sh does)
        QStringLiteral("\u1200\u12ED\u120C"),  // Haile
        QStringLiteral("\u0E2A\u0E21\u0E0A\u0E32\u0E22"),  // Somchai
    };
    host.texts[{meeting::Field::txtPresenter, 0}] = names[0];
    host.texts[{meeting::Field::txtPerson1, 0}] = names[1];
    host.texts[{meeting::Field::txtObservers, 0}] = names[2];
    docgen::fillTemplate(host);
    ASSERT_EQ(reportLines(), QStringList());
    const QString text = pageTexts(saveAsPdf(QStringLiteral("names.pdf"))).join(QLatin1Char(' '));
    for (const QString& name : names)
        EXPECT_TRUE(text.contains(name)) << name.toStdString() << " not in: " << text.toStdString();
}

TEST_F(PageOutput, PrintingToAFileGivesThePagesOfThePdf)
{
    generate(1500);
    const int count = form.pageCount();
    ASSERT_GE(count, 3);
    const QStringList saved = pageTexts(saveAsPdf(QStringLiteral("minutes.pdf")));
    ASSERT_EQ(saved.size(), count);

    struct Case {
        int from, to, copies;
        QList<int> pages;  // of the saved PDF, counted from 1
    };
    QList<int> all;
    for (int n = 1; n <= count; ++n)
        all << n;
    const Case cases[] = {{0, 0, 1, all}, {2, 2, 1, {2}}, {2, 3, 2, {2, 3, 2, 3}}};
    for (const Case& c : cases) {
        const QString printed =
            QDir(out.path()).filePath(QStringLiteral("printed-%1-%2-%3.pdf").arg(c.from).arg(c.to).arg(c.copies));
        dialogs.printChoices.push_back({printed, c.from, c.to, c.copies});
        choose(QStringLiteral("Print\u2026"));
        QStringList expected;
        for (int n : c.pages)
            expected << saved[n - 1];
        EXPECT_EQ(pageTexts(printed), expected) << c.from << "-" << c.to << " x" << c.copies;
    }
    EXPECT_EQ(reportLines(), QStringList());
}

TEST_F(PageOutput, PrintedPagesFillTheirOwnPaperAsSavedOnesDo)
{
    // Printed to a file: each page where Save as PDF puts it.
    generate(1500);
    const QString saved = saveAsPdf(QStringLiteral("minutes.pdf"));
    const QString printed = QDir(out.path()).filePath(QStringLiteral("printed.pdf"));
    dialogs.printChoices.push_back({printed});
    choose(QStringLiteral("Print\u2026"));
    EXPECT_EQ(reportLines(), QStringList());
    ASSERT_GE(form.pageCount(), 2);
    for (int n = 1; n <= form.pageCount(); ++n) {
        const OnPaper want = onPaper(saved, n), got = onPaper(printed, n);
        EXPECT_TRUE(samePlace(got, want)) << "page " << n << ": " << got << " where saved has " << want;
    }

    // On a printer (Qt's own PDF printer stands in): no margins, and a page
    // of other paper on its own paper.
    platform::Picture letter, wide;
    letter.size = QSizeF(12240, 15840);
    letter.fills = {{QRectF(1440, 1440, 9360, 12960), Qt::black}};
    wide.size = QSizeF(11520, 7200);
    wide.fills = {{QRectF(720, 720, 10080, 5760), Qt::black}};
    const preview::Pages pages = {std::make_shared<const platform::Picture>(letter),
                                  std::make_shared<const platform::Picture>(wide)};
    const QString paper = QDir(out.path()).filePath(QStringLiteral("paper.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        preview::preparePrinter(printer, pages, QStringLiteral("Two papers"), out.path());
        printer.setOutputFileName(paper);
        preview::paintOnPrinter(printer, pages);
    }
    const OnPaper want[] = {{{612, 792}, {72, 72, 468, 648}}, {{576, 360}, {36, 36, 504, 288}}};
    for (int n = 1; n <= 2; ++n) {
        const OnPaper got = onPaper(paper, n);
        EXPECT_TRUE(samePlace(got, want[n - 1])) << "page " << n << ": " << got << " for " << want[n - 1];
    }
}

TEST(Printer, AJobThePrinterFailsIsAFailureNeverTakenForPrinted)
{
    platform::Picture page;
    page.size = QSizeF(12240, 15840);
    page.fills = {{QRectF(1440, 1440, 9360, 12960), Qt::black}};
    FailingPrinter printer;
    EXPECT_THROW(preview::printPages(printer, {std::make_shared<const platform::Picture>(page)}, QStringLiteral("x")),
                 std::runtime_error);
}

TEST_F(PageOutput, PrintingToAFileWritesItWholeUnderTheTitleAndSaysWhere)
{
    generate();
    static_cast<docgen::PreviewPort&>(form).setDocumentTitle(QStringLiteral("Q3/Q4 review"));
    // The folder printed to is proposed the next time, as the save dialogs open in it.
    const QDir folder(QDir(out.path()).filePath(QStringLiteral("printed")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const QString first = folder.filePath(QStringLiteral("first.pdf"));
    const QString proposed = folder.filePath(QStringLiteral("Q3-Q4 review.pdf"));
    dialogs.printChoices = {{first}, {}};  // the second takes the proposed file
    choose(QStringLiteral("Print\u2026"));
    choose(QStringLiteral("Print\u2026"));
    EXPECT_EQ(dialogs.printProposals.back(), proposed);
    EXPECT_EQ(info(proposed, QStringLiteral("Pages")), QString::number(form.pageCount()));
    EXPECT_EQ(reportLines(), QStringList());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Printed to ") + first + QStringLiteral("."));
    EXPECT_EQ(dialogs.boxes[1].text, QStringLiteral("Printed to ") + proposed + QStringLiteral("."));
    EXPECT_EQ(dialogs.boxes[1].style, app::vbOKOnly);

    // A full disk leaves the old file whole and nothing beside it, and is told.
    const testing_support::SmallDisk stick("1m");
    for (const bool real : {false, true}) {
        SCOPED_TRACE(real ? "a real full disk" : "a failing write");
        if (real && !stick.mounted())
            continue;
        const QString onto = real ? stick.path() : folder.path();
        const QString target = QDir(onto).filePath(QStringLiteral("minutes.pdf"));
        testing_support::writeFile(target, "the old minutes");
        const QStringList before = filesIn(onto);
        dialogs.boxes.clear();
        dialogs.printChoices = {{target}};
        {
            std::optional<testing_support::FailingWrites> failing;
            if (real)
                stick.fill();
            else
                failing.emplace(ENOSPC, 4096, onto);
            choose(QStringLiteral("Print\u2026"));
            if (real)
                stick.free();
        }
        EXPECT_EQ(testing_support::readAll(target), QByteArray("the old minutes"));
        EXPECT_EQ(filesIn(onto), before);
        EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.mnuPrint_Click at line 110"}));
        EXPECT_EQ(dialogs.boxes.size(), 1u) << "a failed print is not called printed";
    }
}

TEST_F(PageOutput, AFailedWriteIsReportedAndLeavesNoFileBehind)
{
    generate();
    const QString folder = QDir(out.path()).filePath(QStringLiteral("minutes"));
    const QString target = QDir(folder).filePath(QStringLiteral("minutes.pdf"));
    struct Case {
        const char* what;
        std::function<void()> save;
    };
    const Case cases[] = {
        {"a full disk",
         [&] {
             testing_support::FailingWrites full(ENOSPC, 4096);
             dialogs.fileNames.push_back(target);
             choose(QStringLiteral("Save as PDF\u2026"));
         }},
        {"a folder that vanished",
         [&] {
             dialogs.fileNames.push_back(target);
             QDir(folder).removeRecursively();
             choose(QStringLiteral("Save as PDF\u2026"));
         }},
    };
    for (const Case& c : cases) {
        QDir().mkpath(folder);
        dialogs.boxes.clear();
        c.save();
        EXPECT_FALSE(QFile::exists(target)) << c.what;
        EXPECT_EQ(filesIn(folder), QStringList()) << c.what;
        EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.mnuSaveAsPdf_Click at line 116"})) << c.what;
        EXPECT_EQ(dialogs.boxes.size(), 1u) << c.what << ": a failed save is not called done";
    }
}

TEST_F(PageOutput, AnExistingFileIsAskedAboutAndOnlyTheUsersOwnLinkIsFollowed)
{
    generate();
    const QString target = QDir(out.path()).filePath(QStringLiteral("minutes.pdf"));
    testing_support::writeFile(target, "the old minutes");
    dialogs.answers.push_back(app::vbNo);
    saveAsPdf(QStringLiteral("minutes.pdf"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              QStringLiteral("Are you sure you wish to overwrite ") + target + QStringLiteral(" ?"));
    EXPECT_EQ(testing_support::readAll(target), QByteArray("the old minutes"));

    // The user's link leads to the file saved, and stays a link.
    const QString elsewhere = QDir(out.path()).filePath(QStringLiteral("elsewhere.pdf"));
    testing_support::writeFile(elsewhere, "the old minutes");
    QFile::remove(target);
    ASSERT_TRUE(QFile::link(elsewhere, target));
    dialogs.answers.push_back(app::vbYes);
    saveAsPdf(QStringLiteral("minutes.pdf"));
    EXPECT_TRUE(QFileInfo(target).isSymLink());
    EXPECT_TRUE(testing_support::readAll(elsewhere).startsWith("%PDF-"));
    EXPECT_EQ(reportLines(), QStringList());

    // Another user's link at the name is replaced; the file it leads to stays as it was.
    testing_support::writeFile(elsewhere, "someone else's file");
    if (!testing_support::giveToAnotherUser(target))
        GTEST_SKIP() << "a link of another user's can't be made here (needs root)";
    dialogs.answers.push_back(app::vbYes);
    saveAsPdf(QStringLiteral("minutes.pdf"));
    EXPECT_EQ(testing_support::readAll(elsewhere), QByteArray("someone else's file"));
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_TRUE(testing_support::readAll(target).startsWith("%PDF-"));
    EXPECT_EQ(reportLines(), QStringList());
}
