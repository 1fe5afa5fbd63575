#include "wordproc/Layout.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"
#include "wordproc/WordProcessor.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

class Pages : public testing::Test {
protected:
    void SetUp() override
    {
        path = testing_support::writeTemplate(dir.path());
        doc = word.open(path, true);
    }
    void type(int t, int r, int c, const QString& text)
    {
        doc->selection().selectCell(t, r, c);
        doc->selection().typeText(text);
    }
    // Long words of prose, enough to fill about `pages` pages in one cell.
    static QString prose(double pages)
    {
        QString s;
        const int words = static_cast<int>(pages * 650);
        for (int i = 0; i < words; ++i)
            s += QStringLiteral("minutes%1 ").arg(i % 97);
        return s;
    }
    QImage picture(int page) { return doc->layout().pages[static_cast<size_t>(page)].picture.toImage(72); }

    QTemporaryDir dir;
    QString path;
    WordProcessor word;
    std::shared_ptr<Document> doc;
};

}  // namespace

TEST_F(Pages, CountsOneTwoAndEighteenPages)
{
    EXPECT_EQ(doc->pageCount(), 1);
    type(0, 13, 0, prose(1.5));
    EXPECT_EQ(doc->pageCount(), 2);
    type(0, 16, 0, prose(22.5));
    EXPECT_EQ(doc->pageCount(), 18);
}

// A long row fills the rest of its page and goes on at the top of the next,
// between words, as word processors break rows; a row its template keeps
// whole moves to the next page, and splits only when taller than a page.
TEST_F(Pages, ALongRowBreaksAcrossPagesUnlessItsTemplateKeepsItWhole)
{
    type(0, 13, 0, prose(1.5));
    const QString text = doc->model().tables()[0]->rows[13].cells[0].paragraphs[0].text();
    const auto startsBetweenWords = [&](const Position& at) {
        return at.block == 0 && at.row == 13 && at.cuts.size() == 1u && at.cuts[0].offset > 0
               && text.at(at.cuts[0].offset - 1) == QLatin1Char(' ');
    };
    ASSERT_EQ(doc->layout().pages.size(), 2u);
    EXPECT_TRUE(startsBetweenWords(doc->layout().pages[1].start)) << "page 1 is filled to its end";

    doc->model().tables()[0]->rows[13].cantSplit = true;
    doc->changed();
    const PageLayout& kept = doc->layout();
    ASSERT_EQ(kept.pages.size(), 3u);
    EXPECT_EQ(kept.pages[1].start, (Position{0, 13, {TextCut{0, 0}}})) << "the row starts page 2 whole";
    EXPECT_TRUE(startsBetweenWords(kept.pages[2].start)) << "and, taller than a page, goes on at page 3";
}

TEST_F(Pages, DeletingToTheStartOfPage2LeavesTheOldPage2AsPage1)
{
    type(0, 13, 0, prose(1.5));
    for (int r : {14, 15, 17, 18})
        type(0, r, 0, QStringLiteral("a row with some words to wrap ").repeated(40));
    // Page 2 begins between rows at first, inside a split row later on.
    for (int pages = doc->pageCount(); pages > 1; --pages) {
        SCOPED_TRACE(pages);
        const QImage page2 = picture(1);
        Selection& s = doc->selection();
        s.goToPage(2);
        s.homeKey(6, true);
        s.deleteSelection();
        ASSERT_EQ(doc->pageCount(), pages - 1);
        EXPECT_TRUE(picture(0) == page2) << "the old page 2 is not laid out the same as page 1";
    }
}

TEST_F(Pages, RightToLeftAndUnspacedTextStayInsideTheirCell)
{
    // A CJK text has no blanks: it breaks between characters. A Hebrew text
    // reads from right to left: its first word stands right of its second.
    testing_support::requireFontFor(QString(QChar(0x4F1A)),
                                    "a CJK font such as Droid Sans Fallback (fonts-droid-fallback)");
    testing_support::requireFontFor(QStringLiteral("\u05E9\u05E2"),
                                    "a Hebrew font such as DejaVu Sans (fonts-dejavu-core)");
    type(0, 13, 0, QString(600, QChar(0x4F1A)));
    type(0, 16, 0, QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD"));
    const auto& picture = doc->layout().pages[0].picture;
    const qreal cellRight = 1440 - 108 + 9360 - 108;
    int cjkLines = 0;
    qreal shin = -1, ayin = -1;
    for (const auto& g : picture.glyphs) {
        const QRawFont font = g.font();
        const QGlyphRun run = g.run();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {  // each glyph's advance lies within the cell
            EXPECT_GE(g.origin.x() + at[i].x(), 1440 - 1);
            EXPECT_LE(g.origin.x() + at[i].x() + advances[i].x(), cellRight + 1);
        }
        if (font.supportsCharacter(QChar(0x4F1A)) && glyphs.size() > 20)
            ++cjkLines;
        const quint32 shinGlyph = font.glyphIndexesForString(QStringLiteral("\u05E9")).value(0);
        const quint32 ayinGlyph = font.glyphIndexesForString(QStringLiteral("\u05E2")).value(0);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (shinGlyph && glyphs[i] == shinGlyph)
                shin = at[i].x();
            if (ayinGlyph && glyphs[i] == ayinGlyph)
                ayin = at[i].x();
        }
    }
    EXPECT_GE(cjkLines, 3);
    ASSERT_GE(shin, 0);
    ASSERT_GE(ayin, 0);
    EXPECT_GT(shin, ayin);
}

TEST_F(Pages, APictureIsThePaperAndSurvivesSavingAndLoading)
{
    type(0, 0, 0, QStringLiteral("Budget review"));
    const platform::Picture& pic = doc->layout().pages[0].picture;
    EXPECT_EQ(pic.size, QSizeF(12240, 15840));
    EXPECT_LT(pic.memoryBytes(), 1 << 20);
    const platform::Picture back = platform::Picture::load(pic.save());
    EXPECT_EQ(back.size, pic.size);
    EXPECT_TRUE(back.toImage(96) == pic.toImage(96));
    EXPECT_THROW(platform::Picture::load("BM not ours"), std::runtime_error);

    // Damaged copies load or are refused; none crashes or asks for gigabytes.
    const QByteArray good = pic.save();
    QRandomGenerator rng(7);
    for (int i = 0; i < 200; ++i) {
        QByteArray bad = good;
        if (i % 2)
            bad.truncate(rng.bounded(static_cast<int>(good.size())));
        else
            for (int flips = 1 + rng.bounded(6); flips > 0; --flips)
                bad[rng.bounded(static_cast<int>(bad.size()))] ^= static_cast<char>(1 << rng.bounded(8));
        try {
            const auto loaded = platform::Picture::load(bad);
            QImage out(64, 64, QImage::Format_RGB32);
            QPainter p(&out);
            loaded.paint(p, QRectF(0, 0, 64, 64));
        } catch (const std::runtime_error&) {}
    }
    // Shading is painted: the grey of a label cell shows on the page.
    const QImage image = pic.toImage(72);
    EXPECT_EQ(image.size(), QSize(612, 792));
    bool grey = false;
    for (int y = 0; y < image.height() && !grey; ++y)
        for (int x = 0; x < image.width() && !grey; ++x)
            grey = image.pixel(x, y) == qRgb(0xF3, 0xF3, 0xF3);
    EXPECT_TRUE(grey);
}

// Runs alternate red and blue, each cut into pieces of one to three letters
// with hidden ones between: over many lines every glyph keeps its colour.
TEST(Layout, EveryGlyphIsPaintedInItsRunsColourOnEveryLine)
{
    const qint32 red = 0x0000FF, blue = 0xFF0000;
    Paragraph p;
    QRandomGenerator rng(11);
    for (int i = 0; i < 2000; ++i) {
        const QString word = i % 2 ? QStringLiteral("rrrr ") : QStringLiteral("bbb ");
        for (qsizetype at = 0; at < word.size();) {
            const qsizetype n = 1 + rng.bounded(3);
            wordproc::Run piece{word.mid(at, n), {}};
            piece.format.color = i % 2 ? red : blue;
            p.runs.push_back(piece);
            at += n;
            if (rng.bounded(4) == 0) {
                wordproc::Run hidden{QStringLiteral("x"), {}};
                hidden.format.hidden = true;
                p.runs.push_back(hidden);
            }
        }
    }
    DocumentModel m;
    m.body.emplace_back(p);
    const PageLayout layout = layoutDocument(m);
    ASSERT_GE(layout.pages.size(), 2u);
    int glyphs = 0;
    for (const auto& page : layout.pages)
        for (const auto& g : page.picture.glyphs) {
            const QRawFont font = g.font();
            const quint32 letter =
                font.glyphIndexesForString(g.colour == Qt::red ? QStringLiteral("r") : QStringLiteral("b")).value(0);
            const quint32 space = font.glyphIndexesForString(QStringLiteral(" ")).value(0);
            ASSERT_TRUE(g.colour == Qt::red || g.colour == Qt::blue);
            for (const quint32 glyph : g.run().glyphIndexes()) {
                EXPECT_TRUE(glyph == letter || glyph == space) << "a glyph of the other colour's letter";
                glyphs += glyph == letter;
            }
        }
    EXPECT_EQ(glyphs, 1000 * 4 + 1000 * 3);
}

// Pages laid out from a prefix of a long paragraph, as a page limit makes
// them, are the pages of the whole layout, whatever the line spacing, and
// whether the text comes in many runs or in one long run with line ends
// pasted from another system (CR LF, one break).
TEST(Layout, APageLaidOutUnderALimitIsThePageOfTheWholeLayout)
{
    QString pasted;
    for (int i = 0; i < 6000; ++i)
        pasted +=
            QStringLiteral("minutes%1%2").arg(i % 97).arg(i % 41 == 40 ? QStringLiteral("\r\n") : QStringLiteral(" "));
    const struct {
        int lineSpacing;
        bool oneRun;
    } cases[] = {{240, false}, {120, false}, {480, false}, {240, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lineSpacing << (c.oneRun ? " one run" : " many runs"));
        Paragraph p;
        p.format.lineSpacing = c.lineSpacing;
        p.format.spaceBefore = 2000;
        if (c.oneRun)
            p.runs.push_back(wordproc::Run{pasted, {}});
        else
            for (int i = 0; i < 4000; ++i)
                p.runs.push_back(wordproc::Run{QStringLiteral("minutes%1 ").arg(i % 97), {}});
        DocumentModel m;
        m.body.emplace_back(p);
        const PageLayout whole = layoutDocument(m);
        ASSERT_GE(whole.pages.size(), 4u);
        const PageLayout limited = layoutDocument(m, 3);
        ASSERT_EQ(limited.pages.size(), 3u);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(limited.pages[i + 1].start, whole.pages[i + 1].start) << "page " << i + 2;
            if (c.oneRun) {  // the page begins at a word of the model's text
                EXPECT_EQ(pasted.mid(limited.pages[i + 1].start.cuts.at(0).offset, 7), QStringLiteral("minutes"));
            }
            EXPECT_TRUE(limited.pages[i].picture.toImage(72) == whole.pages[i].picture.toImage(72)) << "page " << i + 1;
        }
    }
}

namespace {

// Where the glyphs of a one-paragraph document land: (x, y) in twips.
std::vector<QPointF> glyphPositions(const QString& text, int defaultTabStop = 720,
                                    const wordproc::CharFormat& format = {}, Align align = Align::Left)
{
    DocumentModel m;
    m.defaultTabStop = defaultTabStop;
    Paragraph p;
    p.format.align = align;
    p.runs.push_back(wordproc::Run{text, format});
    m.body = {p};
    std::vector<QPointF> out;
    const PageLayout laid = layoutDocument(m);
    for (const auto& g : laid.pages.front().picture.glyphs)
        for (const QPointF& at : g.run().positions())
            out.push_back(g.origin + at);
    std::sort(out.begin(), out.end(),
              [](QPointF a, QPointF b) { return a.y() < b.y() || (a.y() == b.y() && a.x() < b.x()); });
    return out;
}

}  // namespace

TEST(LinesAndTabs, ALineEndFromAnotherSystemIsOneBreakAndTabsStopAtTheDocumentsStops)
{
    const auto lf = glyphPositions(QStringLiteral("A\nB"));
    ASSERT_EQ(lf.size(), 2u);
    EXPECT_GT(lf[1].y(), lf[0].y());
    EXPECT_EQ(glyphPositions(QStringLiteral("A\r\nB")).back(), lf.back());
    EXPECT_EQ(glyphPositions(QStringLiteral("A\rB")).back(), lf.back());
    EXPECT_GT(glyphPositions(QStringLiteral("A\n\nB")).back().y(), lf.back().y());

    // A tab goes to the next stop of the document's settings (720 twips in
    // the template), counted from where the text starts.
    const qreal start = glyphPositions(QStringLiteral("X")).front().x();
    EXPECT_NEAR(glyphPositions(QStringLiteral("\tX")).front().x() - start, 720, 1);
    EXPECT_NEAR(glyphPositions(QStringLiteral("\t\tX")).front().x() - start, 1440, 1);
    EXPECT_NEAR(glyphPositions(QStringLiteral("\tX"), 1000).front().x() - start, 1000, 1);
}

// Bold text is set in the bold face, with its widths: the labels of the
// template, in the setup's Tahoma, are as wide as a word processor sets them.
// That face has the regular strokes, so they are still drawn heavier.
TEST(LinesAndTabs, BoldTextTakesTheBoldFacesWidths)
{
    DocumentModel m;
    Paragraph p;
    CharFormat bold;
    bold.name = QStringLiteral("Tahoma");
    bold.size = 7;
    bold.bold = true;
    p.runs.push_back(wordproc::Run{QStringLiteral("OBSERVERS"), bold});
    m.body = {p};
    const PageLayout laid = layoutDocument(m);
    const auto& glyphs = laid.pages.front().picture.glyphs;
    ASSERT_EQ(glyphs.size(), 1u);
    const QGlyphRun run = glyphs.front().run();
    ASSERT_EQ(run.rawFont().familyName(), QStringLiteral("Tahoma")) << "install fonts-wine (scripts/test.sh does)";
    const QList<quint32> indexes = run.glyphIndexes();
    const qreal width = run.positions().back().x() + run.rawFont().advancesForGlyphIndexes({indexes.back()}).front().x()
                        - run.positions().front().x();
    EXPECT_NEAR(width / 20, 42.5, 0.1) << "points";
    EXPECT_TRUE(glyphs.front().embolden);

    // A bold face with bold strokes of its own is drawn as it is.
    p.runs.front().format.name = QStringLiteral("Liberation Sans");
    m.body = {p};
    const PageLayout relaid = layoutDocument(m);
    const auto& real = relaid.pages.front().picture.glyphs;
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(real.front().run().rawFont().styleName(), QStringLiteral("Bold")) << "install fonts-liberation2";
    EXPECT_FALSE(real.front().embolden);
}

// A line holding a few characters of another script is as tall as one of the
// paragraph's own font: the font that stands in for those characters draws
// them, but does not set the line's height.
TEST(LinesAndTabs, LinesOfMixedScriptsAreAsTallAsThoseOfTheParagraphsFont)
{
    testing_support::requireFontFor(QString(QChar(0x4F1A)),
                                    "a CJK font such as Droid Sans Fallback (fonts-droid-fallback)");
    testing_support::requireFontFor(QStringLiteral("\u0645\u0631"),
                                    "an Arabic font such as DejaVu Sans (fonts-dejavu-core)");
    const auto pitch = [](const QString& line) {
        const auto laid = glyphPositions(line + QLatin1Char('\n') + line);
        return laid.back().y() - laid.front().y();
    };
    const qreal latin = pitch(QStringLiteral("Minutes"));
    EXPECT_NEAR(pitch(QStringLiteral("Minutes \u4F1A\u8BAE")), latin, 0.5) << "CJK";
    EXPECT_NEAR(pitch(QStringLiteral("Minutes \uAE40\uBBFC\uC900")), latin, 0.5) << "Hangul";
    EXPECT_NEAR(pitch(QStringLiteral("Minutes \u0645\u0631\u062D\u0628\u0627")), latin, 0.5) << "Arabic";
}

// A tab that would end past the right edge of a full line goes on to the
// next line, where the text after it then starts at the first stop.
TEST(LinesAndTabs, ATabAtTheEndOfAFullLineStartsTheNextLineAtTheFirstStop)
{
    const qreal start = glyphPositions(QStringLiteral("X")).front().x();
    int fits = 1;  // the most letters one line holds
    while (glyphPositions(QString(fits + 1, u'a')).back().y() == glyphPositions(QStringLiteral("a")).front().y())
        ++fits;
    const auto laid = glyphPositions(QString(fits, u'a') + QStringLiteral("\tX"));
    ASSERT_EQ(laid.size(), static_cast<size_t>(fits + 1));
    EXPECT_GT(laid.back().y(), laid.front().y()) << "X is on the next line";
    EXPECT_NEAR(laid.back().x() - start, 720, 1) << "after the tab, at the first stop";
}

// Spaced-out letters fill a line as they do in a word processor: the space
// after the last letter of a line may reach past its edge.
TEST(LinesAndTabs, TheSpaceAfterALinesLastLetterMayPassItsEdgeAndAlignedLinesKeepToTheirs)
{
    constexpr qreal kLineWidth = 12240 - 2 * 1440;  // Letter less its margins
    for (const double points : {0.2, 0.5, 1.0, 2.0, 3.0}) {
        SCOPED_TRACE(points);
        wordproc::CharFormat spaced;
        spaced.spacing = points;
        const qreal after = points * 20;
        const auto laid = glyphPositions(QString(400, u'a'), 720, spaced);
        const qreal pitch = laid[1].x() - laid[0].x();
        const auto onFirstLine =
            std::count_if(laid.begin(), laid.end(), [&](QPointF at) { return at.y() == laid[0].y(); });
        EXPECT_LE(onFirstLine * pitch - after, kLineWidth + 0.5);
        EXPECT_GT((onFirstLine + 1) * pitch - after, kLineWidth - 0.5);
    }
    // Right-aligned and centred lines keep to the edges all the same.
    const qreal left = 1440, right = left + kLineWidth;
    const auto twoXs = glyphPositions(QStringLiteral("tt"));
    const qreal advance = twoXs[1].x() - twoXs[0].x();
    EXPECT_NEAR(glyphPositions(QStringLiteral("at"), 720, {}, Align::Right).back().x() + advance, right, 0.5);
    const auto centred = glyphPositions(QStringLiteral("tt"), 720, {}, Align::Center);
    EXPECT_NEAR(centred.front().x() - left, right - (centred.back().x() + advance), 0.5);
}

// A row's lines that would end exactly at the foot of the page leave the
// last of them to the next page, as a word processor does; the row's part on
// the page is as tall as its lines.
TEST(SplitRows, TheirLinesEndAboveThePagesFoot)
{
    constexpr int kLine = 160;  // Tahoma's line at 8 points, in twips
    wordproc::CharFormat tahoma;
    tahoma.name = QStringLiteral("Tahoma");
    tahoma.size = 8;
    for (const int slack : {0, 1}) {
        SCOPED_TRACE(slack);
        DocumentModel m;
        m.page.height = m.page.top + m.page.bottom + 10 * kLine + slack;
        wordproc::Cell cell;
        cell.width = 9360;
        cell.shading = 0xF3F3F3;
        for (int i = 0; i < 25; ++i) {
            Paragraph p;
            p.runs.push_back(wordproc::Run{QStringLiteral("line %1").arg(i + 1), tahoma});
            cell.paragraphs.push_back(p);
        }
        wordproc::Table table;
        table.rows.push_back(wordproc::Row{{cell}});
        m.body = {table};
        const PageLayout laid = layoutDocument(m);
        ASSERT_GE(laid.pages.size(), 2u);
        ASSERT_EQ(laid.pages[1].start.cuts.size(), 1u);
        const int onPage1 = slack ? 10 : 9;
        EXPECT_EQ(laid.pages[1].start.cuts[0].para, onPage1) << "the first paragraph of page 2";
        // Its shading ends with its last line there, not at the page's foot.
        ASSERT_EQ(laid.pages[0].picture.fills.size(), 1u);
        EXPECT_NEAR(laid.pages[0].picture.fills[0].rect.height(), onPage1 * kLine, 0.5);
    }
}

// A long paragraph is laid out piece by piece; a word longer than a line
// still breaks where one text layout of the whole paragraph breaks it, and
// every glyph comes once, in order, over the lines of all the pages.
TEST(LinesAndTabs, AWordLongerThanALineBreaksWhereOneLayoutOfTheWholeParagraphBreaksIt)
{
    QString digits, ideographs, words;
    for (int i = 0; i < 20000; ++i) {
        digits += QChar(u'0' + i % 10);
        ideographs += QChar(0x4E00 + (i * 37) % 3000);
    }
    for (int i = 0; i < 300; ++i)
        words += QStringLiteral("minutes%1 ").arg(i % 97);
    const struct {
        const char* shape;
        QString text;
    } cases[] = {
        {"no blank", digits},
        {"a long word among words", words + digits + QLatin1Char(' ') + words},
        {"ideographs", ideographs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        DocumentModel m;
        Paragraph p;
        p.runs.push_back(wordproc::Run{c.text, {}});
        m.body = {p};
        const PageLayout laid = layoutDocument(m);
        ASSERT_GE(laid.pages.size(), 3u);
        // Glyph counts line by line, and all glyphs in order from the left, as
        // laid out (glyphs of two fallback fonts may come in runs of either order).
        using LineGlyphs = std::vector<std::pair<qreal, quint32>>;  // x, glyph
        const auto addRun = [](LineGlyphs& line, const QGlyphRun& run, qreal dx) {
            for (qsizetype k = 0; k < run.glyphIndexes().size(); ++k)
                line.push_back({dx + run.positions()[k].x(), run.glyphIndexes()[k]});
        };
        const auto inOrder = [](std::vector<LineGlyphs> lines, std::vector<qsizetype>& perLine) {
            QList<quint32> out;
            for (LineGlyphs& line : lines) {
                std::stable_sort(line.begin(), line.end(),
                                 [](const auto& a, const auto& b) { return a.first < b.first; });
                perLine.push_back(static_cast<qsizetype>(line.size()));
                for (const auto& [x, glyph] : line)
                    out.push_back(glyph);
            }
            return out;
        };
        std::vector<LineGlyphs> ours;
        for (const auto& page : laid.pages) {
            qreal lineTop = -1;
            for (const auto& g : page.picture.glyphs) {
                const QGlyphRun run = g.run();
                const qreal top = g.origin.y() + run.positions().value(0).y();
                if (ours.empty() || top != lineTop)
                    ours.emplace_back();
                lineTop = top;
                addRun(ours.back(), run, g.origin.x());
            }
        }
        std::vector<qsizetype> perLine;
        const QList<quint32> glyphs = inOrder(ours, perLine);
        // The same from one text layout of the whole paragraph.
        QTextLayout whole(c.text, fontFor(m.resolvedChars(p, CharFormat())));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        whole.setTextOption(option);
        whole.setCacheEnabled(true);
        whole.beginLayout();
        for (QTextLine line = whole.createLine(); line.isValid(); line = whole.createLine())
            line.setLineWidth(m.page.width - m.page.left - m.page.right);
        whole.endLayout();
        std::vector<LineGlyphs> theirs(static_cast<size_t>(whole.lineCount()));
        for (int i = 0; i < whole.lineCount(); ++i)
            for (const QGlyphRun& run : whole.lineAt(i).glyphRuns())
                addRun(theirs[static_cast<size_t>(i)], run, 0);
        std::vector<qsizetype> expectedPerLine;
        const QList<quint32> expected = inOrder(theirs, expectedPerLine);
        EXPECT_EQ(perLine, expectedPerLine);
        EXPECT_EQ(glyphs, expected);
    }
}
