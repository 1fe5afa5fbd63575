#include "wordproc/Layout.h"

#include "platform/Colour.h"
#include "platform/Fonts.h"
#include "platform/Units.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace wordproc {

using namespace platform::units;

namespace {

// Whether the glyphs of `face` have bold strokes. A regular face asked for
// bold has none; some bold faces have the bold widths but the regular
// strokes: a stem no wider than the regular face's gives them away. Both are
// drawn emboldened.
bool hasBoldStrokes(const QRawFont& face)
{
    if (face.weight() < QFont::DemiBold)
        return false;
    static QHash<QString, bool> known;
    const QString key = face.familyName() + QLatin1Char('/') + face.styleName();
    const auto it = known.constFind(key);
    if (it != known.constEnd())
        return *it;
    QFont regularFont(face.familyName());
    regularFont.setPixelSize(100);
    const QRawFont regular = QRawFont::fromFont(regularFont);
    // The stem of an "l", in ems.
    const auto stem = [](const QRawFont& f) {
        const QList<quint32> l = f.glyphIndexesForString(QStringLiteral("l"));
        return l.isEmpty() || f.pixelSize() <= 0 ? 0.0
                                                 : f.pathForGlyph(l.front()).boundingRect().width() / f.pixelSize();
    };
    const bool heavier = regular.weight() >= QFont::DemiBold || stem(face) > stem(regular) * 1.15;
    known.insert(key, heavier);
    return heavier;
}

QColor colourOf(qint32 bgr)
{
    if (bgr == kAutomatic)
        return Qt::black;
    return platform::fromBgr(static_cast<quint32>(bgr));
}

// One laid-out line: its height and glyphs relative to its top left.
struct Line {
    qreal height = 0;
    int para = 0;
    int offset = 0;  // model offset in its paragraph where the line begins
    qreal before = 0;  // paragraph spacing above the line (first lines only)
    qreal after = 0;  // and below it (last lines only)
    std::vector<platform::Picture::Glyphs> glyphs;
    qreal total() const { return before + height + after; }
};

// How a run's text looks; runs that resolve to the same format share one.
struct Look {
    CharFormat resolved;
    QTextCharFormat format;
    QColor colour;
    bool bold = false;
};
// Text of one look in the layout's text: a run's, or adjacent runs' of one look.
struct Stretch {
    int start = 0;
    int length = 0;
    size_t look = 0;
};

// The glyphs of [from, from + length) in one line, runs of one font merged
// as the text layout's own glyphRuns() merges them, in the order met.
QList<QGlyphRun> glyphsOfLine(const QTextLine& line, int from, int length)
{
    QList<QGlyphRun> merged;
    for (const QGlyphRun& run : line.glyphRuns(from, length)) {
        auto same = std::find_if(merged.begin(), merged.end(), [&](const QGlyphRun& m) {
            return m.rawFont() == run.rawFont() && m.flags() == run.flags();
        });
        if (same == merged.end()) {
            merged.append(run);
            continue;
        }
        same->setGlyphIndexes(same->glyphIndexes() + run.glyphIndexes());
        same->setPositions(same->positions() + run.positions());
    }
    return merged;
}

// A paragraph's text as a text layout takes it: line ends pasted from another
// system made one break, hidden runs left out, with the model offset of each
// character and the ranges of its runs and looks. It is built only as far as
// the layout asks: page by page, a paragraph of a million characters is laid
// out a page or two at a time, and reading all of it each time would make the
// whole document cost the square of its length.
class LaidText {
public:
    LaidText(const StyleResolver& styles, const Paragraph& p) : mPara(p), mRunLook(p.runs.size())
    {
        // Before any font is made for the runs: the fonts name the family that
        // draws the characters no installed font has.
        for (const Run& run : p.runs)
            platform::coverCharacters(run.text);
        // The style chain is walked once; each run's own format goes over it.
        const CharFormat base = styles.resolvedChars(p, CharFormat());
        const CharFormat* lastOwn = nullptr;
        size_t look = 0;
        for (size_t r = 0; r < p.runs.size(); ++r) {
            if (!lastOwn || !(p.runs[r].format == *lastOwn)) {
                CharFormat c = base;
                c.overlay(p.runs[r].format);
                look = lookFor(std::move(c));
                lastOwn = &p.runs[r].format;
            }
            mRunLook[r] = look;
            if (!p.runs[r].text.isEmpty() && !*mLooks[look].resolved.hidden) {
                mSmallest = std::min(mSmallest, pointsToTwips(*mLooks[look].resolved.size));
                mLargest = std::max(mLargest, pointsToTwips(*mLooks[look].resolved.size));
                mWidestSpacing = std::max(mWidestSpacing, pointsToTwips(*mLooks[look].resolved.spacing));
            }
        }
    }

    const QString& text() const { return mText; }
    const std::vector<Look>& looks() const { return mLooks; }
    const std::vector<Stretch>& runs() const { return mRuns; }
    const std::vector<Stretch>& stretches() const { return mStretches; }
    // The smallest font of the text, in twips.
    qreal smallest() const { return mSmallest; }
    qreal largest() const { return mLargest; }
    // The widest space put after each letter, in twips; none when condensed.
    qreal widestSpacing() const { return mWidestSpacing; }
    bool complete() const { return mRun == mPara.runs.size(); }
    // The model offset of the character laid at `index`; at the end of what
    // is built so far, that of the next character to be read.
    int toModel(int index) const
    {
        const auto i = static_cast<size_t>(std::max(index, 0));
        return i < mToModel.size() ? mToModel[i] : mModelAt + mAt;
    }

    // Builds the text until it is at least `size` long or the paragraph ends.
    void extendTo(qsizetype size)
    {
        while (mText.size() < size && !complete()) {
            const Run& r = mPara.runs[mRun];
            const size_t look = mRunLook[mRun];
            const int len = static_cast<int>(r.text.size());
            if (!*mLooks[look].resolved.hidden) {
                const int start = static_cast<int>(mText.size());
                for (; mAt < len && mText.size() < size; ++mAt) {
                    const QChar ch = r.text.at(mAt);
                    if (ch == u'\n' && mLastWasCR) {
                        mLastWasCR = false;
                        continue;
                    }
                    mText += ch == u'\n' || ch == u'\r' ? QChar(QChar::LineSeparator) : ch;
                    mLastWasCR = ch == u'\r';
                    mToModel.push_back(mModelAt + mAt);
                }
                if (const int laid = static_cast<int>(mText.size()) - start; laid > 0) {
                    // A run built in parts stays one range: its edges are where shaping breaks.
                    if (mRunOfLastRange == mRun)
                        mRuns.back().length += laid;
                    else
                        mRuns.push_back({start, laid, look});
                    mRunOfLastRange = mRun;
                    if (!mStretches.empty() && mStretches.back().look == look)
                        mStretches.back().length += laid;
                    else
                        mStretches.push_back({start, laid, look});
                }
                if (mAt < len)
                    return;
            }
            mModelAt += len;
            mAt = 0;
            ++mRun;
        }
        if (complete() && mToModel.size() == static_cast<size_t>(mText.size()))
            mToModel.push_back(mModelAt);
    }

private:
    // Paragraphs alternate among a few looks: the recent ones are reused.
    size_t lookFor(CharFormat c)
    {
        for (size_t i = mLooks.size(); i > 0 && i + 8 > mLooks.size(); --i)
            if (mLooks[i - 1].resolved == c)
                return i - 1;
        Look l;
        l.format.setFont(fontFor(c), QTextCharFormat::FontPropertiesAll);
        if (*c.superscript)
            l.format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (*c.subscript)
            l.format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (*c.position != 0)
            l.format.setBaselineOffset(*c.position * 100.0 / std::max(1.0, *c.size));
        l.colour = colourOf(*c.color);
        l.bold = *c.bold;
        l.resolved = std::move(c);
        mLooks.push_back(std::move(l));
        return mLooks.size() - 1;
    }

    const Paragraph& mPara;
    std::vector<size_t> mRunLook;  // the look of each run
    std::vector<Look> mLooks;
    qreal mSmallest = 1e9;
    qreal mLargest = 0;
    qreal mWidestSpacing = 0;
    QString mText;
    std::vector<int> mToModel;  // layout index -> model offset
    // The text layout is given one range per run; the glyphs are taken per
    // stretch of one look.
    std::vector<Stretch> mRuns, mStretches;
    size_t mRun = 0;  // the run being read, and how far into it
    int mAt = 0;
    int mModelAt = 0;  // the model offset where that run begins
    size_t mRunOfLastRange = std::numeric_limits<size_t>::max();
    bool mLastWasCR = false;
};

// How the lines of a paragraph with format `pf` are aligned, wrapped and tabbed.
QTextOption lineOption(const StyleResolver& styles, const ParaFormat& pf)
{
    QTextOption option;
    const Align align = pf.align.value_or(Align::Left);
    option.setAlignment(align == Align::Right     ? Qt::AlignRight
                        : align == Align::Center  ? Qt::AlignHCenter
                        : align == Align::Justify ? Qt::AlignJustify
                                                  : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The base direction is the paragraph's, left to right as no paragraph here sets
    // another; right-to-left words are still ordered right to left within it.
    option.setTextDirection(Qt::LeftToRight);
    // Tabs go to the document's default stops, in the layout's unit, twips.
    option.setTabStopDistance(styles.model().defaultTabStop);
    return option;
}

// A text layout looks ahead from each line to the next break opportunity:
// in text with none (a pasted link, a long number) every line would read
// to the end of the paragraph. So a long paragraph is laid out window by
// window, each a few dozen lines long (judged from the smallest font,
// about two characters per em) and starting where a line starts; a window
// is never longer than the budget needs. The last line of a window may end
// inside a word the window cut, so it is laid again at the next one's start.
qsizetype windowLength(const LaidText& laid, qreal lineWidth, qreal budget)
{
    const qreal em = std::max<qreal>(pointsToTwips(1), laid.smallest());
    const qreal perLine = (lineWidth / em) * 2.5;
    qreal wanted = 32 * perLine + 1024;
    if (budget < 1e11)
        wanted = std::min(wanted, (budget / em + 2) * perLine + 64);
    return static_cast<qsizetype>(std::max<qreal>(wanted, 64));
}

// The looks of the runs within the window [start, end), relative to its start.
// `firstRun` only moves forward, as the windows do.
QList<QTextLayout::FormatRange> formatsWithin(const LaidText& laid, size_t& firstRun, qsizetype start, qsizetype end)
{
    const std::vector<Stretch>& runs = laid.runs();
    while (firstRun < runs.size() && runs[firstRun].start + runs[firstRun].length <= start)
        ++firstRun;
    QList<QTextLayout::FormatRange> within;
    for (size_t k = firstRun; k < runs.size() && runs[k].start < end; ++k) {
        const qsizetype from = std::max<qsizetype>(runs[k].start, start);
        const qsizetype to = std::min<qsizetype>(runs[k].start + runs[k].length, end);
        within.append({static_cast<int>(from - start), static_cast<int>(to - from), laid.looks()[runs[k].look].format});
    }
    return within;
}

// How a paragraph's lines are measured: their width, their height's multiple
// and the space above the first.
//
// A word processor fills a line with the letters' advances and the space put
// after each but the last, which may hang past the edge (`overhang`). A text
// layout also counts the ink a line's last glyph puts past its advance (the
// hook of many fonts' "t" or "f"), so it is given room for the largest such
// ink (`inkRoom`) and a line is taken back while it holds more than fits.
// Where Qt would align the text on that wider line, `alignShare` of the
// difference (a half when centred, all of it when right-aligned) moves it back.
struct LineMeasure {
    qreal width = 1;
    qreal spacing = 1;
    qreal before = 0;
    qreal overhang = 0;
    qreal inkRoom = 0;
    qreal alignShare = 0;
};

void fitLine(QTextLine& tl, qreal width, const LineMeasure& m)
{
    tl.setLineWidth(std::max<qreal>(1, width + m.overhang + m.inkRoom));
    for (int length = tl.textLength(); length > 1 && tl.naturalTextWidth() - m.overhang > width + 0.01;) {
        tl.setLineWidth(std::max<qreal>(1, tl.naturalTextWidth() - 1.0 / 32));
        if (tl.textLength() >= length)
            break;
        length = tl.textLength();
    }
}

// Where the line after `line` starts. A tab whose stop lies at or past the
// edge of a line is cut short there by a text layout and hangs at the end of
// the line, as a blank does; a word processor carries it to the next line,
// where the text after it starts at the first stop.
qreal indentAfter(const QString& text, const QTextLine& line, qreal tabStop, qreal edge)
{
    if (line.textLength() == 0)
        return 0;
    const int last = line.textStart() + line.textLength() - 1;
    if (text.at(last) != u'\t')
        return 0;
    const qreal stop = (std::floor(line.cursorToX(last) / tabStop) + 1) * tabStop;
    return stop >= edge - 0.5 ? tabStop : 0;
}

// How tall a line is and where its baseline lies below its top. The fonts of
// the paragraph's runs decide it, as in a word processor: a font that stands
// in for the few characters they lack draws those, but makes no line taller.
// Raised or lowered text keeps the text layout's own measure.
struct LineBox {
    qreal ascent = 0;
    qreal height = 0;
};
LineBox lineBox(const QTextLayout& layout, const QTextLine& line)
{
    const LineBox laid{line.ascent(), line.height()};
    qreal ascent = 0, descent = 0, leading = 0;
    const auto take = [&](const QFont& font) {
        const QFontMetricsF m(font);
        ascent = std::max(ascent, m.ascent());
        descent = std::max(descent, m.descent());
        leading = std::max(leading, m.leading());
    };
    const int from = line.textStart(), to = from + line.textLength();
    bool any = false;
    for (const QTextLayout::FormatRange& r : layout.formats()) {
        if (r.start >= to || r.start + r.length <= from)
            continue;
        if (r.format.verticalAlignment() != QTextCharFormat::AlignNormal
            || r.format.hasProperty(QTextFormat::TextBaselineOffset))
            return laid;
        take(r.format.font());
        any = true;
    }
    if (!any)
        take(layout.font());
    const LineBox own{ascent, ascent + descent + leading};
    return own.height < laid.height - 0.01 ? own : laid;
}

// Lines are made only while the budget, counted as the pages will take them
// (spaced, after the space above), is not yet filled; `used` grows by each.
// The first starts `indent` in. Gives the room the last line made took.
qreal makeLines(QTextLayout& layout, bool opensParagraph, const LineMeasure& measure, qreal budget, qreal pageRoom,
                qreal indent, qreal& used)
{
    layout.beginLayout();
    qreal y = 0, taken = 0;
    while (used <= budget) {
        QTextLine tl = layout.createLine();
        if (!tl.isValid())
            break;
        tl.setLeadingIncluded(true);
        fitLine(tl, measure.width - indent, measure);
        tl.setPosition(QPointF(indent, y));
        indent = indentAfter(layout.text(), tl, layout.textOption().tabStopDistance(), measure.width);
        const bool firstOfParagraph = opensParagraph && tl.lineNumber() == 0;
        const qreal height = lineBox(layout, tl).height;
        taken = std::min(height * measure.spacing + (firstOfParagraph ? measure.before : 0), pageRoom);
        y += height;
        used += taken;
    }
    layout.endLayout();
    return taken;
}

// The glyphs of one laid line of the window that starts at `start`. Lines and
// stretches both run forward through the text: `first` walks the stretches,
// whatever the number of lines.
Line takeLine(const QTextLayout& layout, const QTextLine& tl, const LaidText& laid, int paraIndex, qsizetype start,
              const LineMeasure& measure, size_t& first)
{
    const std::vector<Stretch>& stretches = laid.stretches();
    const LineBox box = lineBox(layout, tl);
    const qreal dx = measure.alignShare * (measure.width + measure.overhang - tl.x() - tl.width());
    Line line;
    line.height = box.height * measure.spacing;
    line.para = paraIndex;
    const int lineStart = static_cast<int>(start) + tl.textStart();
    const int lineEnd = lineStart + tl.textLength();
    line.offset = laid.toModel(lineStart);
    while (first < stretches.size() && stretches[first].start + stretches[first].length <= lineStart)
        ++first;
    for (size_t k = first; k < stretches.size() && stretches[k].start < lineEnd; ++k) {
        const Look& l = laid.looks()[stretches[k].look];
        const int from = std::max(stretches[k].start, lineStart);
        const int to = std::min(stretches[k].start + stretches[k].length, lineEnd);
        for (const QGlyphRun& run : glyphsOfLine(tl, from - static_cast<int>(start), to - from)) {
            const bool embolden = l.bold && !hasBoldStrokes(run.rawFont());
            line.glyphs.push_back({QPointF(dx, box.ascent - tl.ascent() - tl.y()), run, l.colour, embolden});
        }
    }
    return line;
}

// Lines of a paragraph, as many as fill `budget` twips (the rest are not
// needed yet; laying out only those keeps a long text cheap page by page).
// A line taller than `pageRoom` still takes only the page it stands on alone.
// Nothing here walks all the runs for each run or each line: time grows with
// the text laid, however many runs it is cut into.
std::vector<Line> layParagraph(const StyleResolver& styles, const Paragraph& p, int paraIndex, qreal width,
                               qreal budget = std::numeric_limits<qreal>::max(),
                               qreal pageRoom = std::numeric_limits<qreal>::max())
{
    const ParaFormat pf = styles.resolvedPara(p);
    LaidText laid(styles, p);
    const QString& text = laid.text();
    const QTextOption option = lineOption(styles, pf);
    const QFont markFont = fontFor(styles.resolvedChars(p, p.markFormat));
    const Align align = pf.align.value_or(Align::Left);
    const LineMeasure measure{std::clamp<qreal>(width, 1, 1e6),  // a text layout works in 26.6 fixed point
                              pf.lineSpacing ? *pf.lineSpacing / 240.0 : 1.0,
                              static_cast<qreal>(pf.spaceBefore.value_or(0)), laid.widestSpacing(),
                              // a justified line is stretched to the width it is laid in
                              align == Align::Justify ? 0 : laid.largest() / 4,
                              align == Align::Right    ? 1.0
                              : align == Align::Center ? 0.5
                                                       : 0.0};
    const qsizetype wantedChars = windowLength(laid, measure.width, budget);
    laid.extendTo(wantedChars + 1);
    qsizetype window = std::min(wantedChars, text.size());
    std::vector<Line> lines;
    qreal used = 0, indent = 0;
    size_t firstRun = 0, first = 0;  // both only move forward, as the windows do
    for (qsizetype start = 0;;) {
        laid.extendTo(start + window + 1);  // one more tells whether the window cuts the text
        const qsizetype end = std::min(text.size(), start + window);
        const bool cut = end < text.size();
        QTextLayout layout(start == 0 && !cut ? text : text.mid(start, end - start), markFont);
        layout.setFormats(formatsWithin(laid, firstRun, start, end));
        layout.setTextOption(option);
        layout.setCacheEnabled(true);  // glyphRuns() below would shape the text again otherwise
        const qreal taken = makeLines(layout, start == 0, measure, budget, pageRoom, indent, used);
        int count = layout.lineCount();
        const bool reachedEnd =
            count > 0
            && layout.lineAt(count - 1).textStart() + layout.lineAt(count - 1).textLength() >= layout.text().size();
        bool again = false;
        if (cut && reachedEnd) {
            --count;
            used -= taken;
            again = used <= budget;
            if (count == 0) {  // not one whole line in the window: a wider one
                window *= 2;
                continue;
            }
        }
        for (int i = 0; i < count; ++i)
            lines.push_back(takeLine(layout, layout.lineAt(i), laid, paraIndex, start, measure, first));
        if (!again)
            break;
        start += layout.lineAt(count).textStart();
        indent = layout.lineAt(count).x();  // the line laid again keeps its start
    }
    if (!lines.empty()) {
        lines.front().before = measure.before;
        lines.back().after = pf.spaceAfter.value_or(0);
    }
    return lines;
}

// Lines of a cell from a cut on; a cut inside a paragraph continues it.
std::vector<Line> layCell(const StyleResolver& styles, const Cell& c, const TextCut& from, qreal budget, qreal pageRoom)
{
    std::vector<Line> out;
    const qreal width = c.width - 2 * qreal(kCellMargin);
    qreal used = 0;
    for (int i = from.para; i < static_cast<int>(c.paragraphs.size()) && used <= budget; ++i) {
        std::vector<Line> lines =
            layParagraph(styles, c.paragraphs[static_cast<size_t>(i)], i, width, budget - used, pageRoom);
        for (const Line& l : lines)
            used += std::min(l.total(), pageRoom);
        for (Line& l : lines)
            if (i > from.para || l.offset >= from.offset) {
                if (i == from.para && from.offset > 0 && l.offset == from.offset)
                    l.before = 0;
                out.push_back(std::move(l));
            }
    }
    return out;
}

class Paginator {
public:
    Paginator(const DocumentModel& m, int pageLimit) : mModel(m), mStyles(m), mPage(m.page), mLimit(pageLimit)
    {
        newPage(Position{0, 0, {TextCut{}}});
    }

    PageLayout run()
    {
        const auto& body = mModel.body;
        for (int b = 0; b < static_cast<int>(body.size()) && !mStopped; ++b) {
            if (const auto* p = std::get_if<Paragraph>(&body[static_cast<size_t>(b)]))
                paragraph(b, *p);
            else
                table(b, std::get<Table>(body[static_cast<size_t>(b)]));
        }
        mLayout.complete = !mStopped;
        return std::move(mLayout);
    }

private:
    // In floating point: a page set up by hand needn't keep to the ranges a
    // file is read into.
    qreal bottom() const { return qreal(mPage.height) - mPage.bottom; }
    qreal pageRoom() const { return bottom() - mPage.top; }

    // How much of the text can still be needed before the limit stops us.
    qreal budget() const
    {
        const qreal pagesLeft = static_cast<qreal>(mLimit) - static_cast<qreal>(mLayout.pages.size());
        return std::min<qreal>(1e12, pagesLeft * pageRoom()) + (bottom() - mY) + 1;
    }

    void newPage(const Position& start)
    {
        if (static_cast<int>(mLayout.pages.size()) >= mLimit) {
            mStopped = true;
            return;
        }
        PageLayout::Page page;
        page.start = start;
        page.picture.size = QSizeF(mPage.width, mPage.height);
        mLayout.pages.push_back(std::move(page));
        mY = mPage.top;
        mEmpty = true;
    }

    platform::Picture& picture() { return mLayout.pages.back().picture; }

    // A line is placed once, so its glyphs move onto the page.
    void place(Line& line, qreal x, qreal y)
    {
        for (auto& g : line.glyphs) {
            g.origin += QPointF(x, y + line.before);
            picture().glyphs.push_back(std::move(g));
        }
        line.glyphs.clear();
    }

    void paragraph(int block, const Paragraph& p)
    {
        const qreal width = mPage.width - mPage.left - mPage.right;
        for (Line& line : layParagraph(mStyles, p, 0, width, budget(), pageRoom())) {
            if (!mEmpty && mY + line.before + line.height > bottom())
                newPage(Position{block, 0, {TextCut{0, line.offset}}});
            if (mStopped)
                return;
            place(line, mPage.left, mY);
            mY += line.total();
            mEmpty = false;
        }
    }

    void table(int block, const Table& t)
    {
        const qreal left = mPage.left - qreal(kCellMargin);
        for (int r = 0; r < static_cast<int>(t.rows.size()) && !mStopped; ++r) {
            const Row& row = t.rows[static_cast<size_t>(r)];
            std::vector<TextCut> cuts(row.cells.size());
            std::vector<std::vector<Line>> cells;
            for (const Cell& c : row.cells)
                cells.push_back(layCell(mStyles, c, TextCut{}, budget(), pageRoom()));
            // A row split over many pages is drawn by ranges of its cells'
            // lines, [first, end) on each page, never copied page by page.
            std::vector<size_t> first(cells.size(), 0), end(cells.size());
            while (!mStopped) {
                const qreal height = restHeight(cells, first);
                if (mY + height <= bottom() + 0.5) {
                    for (size_t c = 0; c < cells.size(); ++c)
                        end[c] = cells[c].size();
                    drawRow(row, cells, first, end, left, height);
                    break;
                }
                // A row that does not fit fills the page line by line and goes
                // on at the next. One kept whole moves to the next page, as does
                // one of which not a line fits; on a page of its own it splits.
                const qreal room = bottom() - mY;
                if (!mEmpty && (row.cantSplit || !fitsALine(cells, first, room))) {
                    newPage(Position{block, r, cuts});
                    continue;
                }
                const bool progress = linesWithin(cells, first, room, end);
                for (size_t c = 0; c < cells.size(); ++c)
                    cuts[c] = end[c] == cells[c].size() ? TextCut{static_cast<int>(row.cells[c].paragraphs.size()), 0}
                                                        : TextCut{cells[c][end[c]].para, cells[c][end[c]].offset};
                drawRow(row, cells, first, end, left, std::min(partHeight(cells, first, end), room));
                for (size_t c = 0; c < cells.size(); ++c) {
                    // Going on inside a paragraph, the next page's first line has no space above.
                    if (progress && end[c] < cells[c].size() && cells[c][end[c]].offset > 0)
                        cells[c][end[c]].before = 0;
                    first[c] = end[c];
                }
                newPage(Position{block, r, cuts});
            }
        }
    }

    // The height of a row's cells from their lines `first` on, added up only
    // until past the page: lines take no negative room.
    qreal restHeight(const std::vector<std::vector<Line>>& cells, const std::vector<size_t>& first) const
    {
        qreal height = 0;
        for (size_t c = 0; c < cells.size() && mY + height <= bottom() + 0.5; ++c) {
            qreal h = 0;
            for (size_t i = first[c]; i < cells[c].size() && mY + h <= bottom() + 0.5; ++i)
                h += cells[c][i].total();
            height = std::max(height, h);
        }
        return height;
    }

    // How tall a row's part on a page is: as its cells' lines [first, end).
    static qreal partHeight(const std::vector<std::vector<Line>>& cells, const std::vector<size_t>& first,
                            const std::vector<size_t>& end)
    {
        qreal height = 0;
        for (size_t c = 0; c < cells.size(); ++c) {
            qreal h = 0;
            for (size_t i = first[c]; i < end[c]; ++i)
                h += cells[c][i].total();
            height = std::max(height, h);
        }
        return height;
    }

    // Whether the lines of a split row, `height` tall, fit in `room`: a line
    // that would end exactly at the page's foot goes on to the next page, as a
    // word processor (counting in whole twips) moves it.
    static bool partFits(qreal height, qreal room) { return height < room - 0.5; }

    // Whether the next line of any cell fits in `room`.
    static bool fitsALine(const std::vector<std::vector<Line>>& cells, const std::vector<size_t>& first, qreal room)
    {
        for (size_t c = 0; c < cells.size(); ++c)
            if (first[c] < cells[c].size() && partFits(cells[c][first[c]].total(), room))
                return true;
        return false;
    }

    // Where each cell's lines from `first` on stop to fit in `room` (its
    // `end`); whether any line fits. When none does, the first ones are
    // placed anyway.
    static bool linesWithin(const std::vector<std::vector<Line>>& cells, const std::vector<size_t>& first, qreal room,
                            std::vector<size_t>& end)
    {
        bool progress = false;
        for (size_t c = 0; c < cells.size(); ++c) {
            qreal used = 0;
            size_t i = first[c];
            for (; i < cells[c].size() && partFits(used + cells[c][i].total(), room); ++i)
                used += cells[c][i].total();
            end[c] = i;
            progress = progress || i > first[c];
        }
        if (!progress) {  // not even one line fits: place the first ones anyway
            for (size_t c = 0; c < cells.size(); ++c)
                if (first[c] < cells[c].size())
                    end[c] = first[c] + 1;
        }
        return progress;
    }

    void drawRow(const Row& row, std::vector<std::vector<Line>>& cells, const std::vector<size_t>& first,
                 const std::vector<size_t>& end, qreal left, qreal height)
    {
        qreal x = left;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const Cell& cell = row.cells[c];
            if (cell.shading)
                picture().fills.push_back({QRectF(x, mY, cell.width, height), colourOf(*cell.shading)});
            qreal y = mY;
            for (size_t i = first[c]; i < end[c]; ++i) {
                place(cells[c][i], x + qreal(kCellMargin), y);
                y += cells[c][i].total();
            }
            x += cell.width;
        }
        mY += height;
        mEmpty = false;
    }

    const DocumentModel& mModel;
    StyleResolver mStyles;  // one walk of each style chain for the whole layout
    PageSetup mPage;
    int mLimit;
    bool mStopped = false;
    PageLayout mLayout;
    qreal mY = 0;
    bool mEmpty = true;
};

}  // namespace

QFont fontFor(const CharFormat& c)
{
    platform::ensurePlatformFonts();
    QFont f = platform::documentFont(*c.name);
    // Brought into the range of sizes here as well, for formats made by hand:
    // converting an absurd size to an integer would overflow.
    const double twips = std::isfinite(*c.size) ? std::clamp(pointsToTwips(*c.size), 1.0,
                                                             pointsToTwips(automation::word::kLargestFontSize))
                                                : pointsToTwips(10);
    f.setPixelSize(static_cast<int>(std::lround(twips)));
    f.setBold(*c.bold);
    f.setItalic(*c.italic);
    f.setUnderline(*c.underline != UnderlineNone);
    f.setStrikeOut(*c.strike || *c.doubleStrike);
    if (*c.allCaps)
        f.setCapitalization(QFont::AllUppercase);
    else if (*c.smallCaps)
        f.setCapitalization(QFont::SmallCaps);
    if (*c.spacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, pointsToTwips(*c.spacing));
    if (*c.scaling != 100)
        f.setStretch(std::clamp(*c.scaling, 1, 4000));
    f.setKerning(*c.kerning > 0);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

PageLayout layoutDocument(const DocumentModel& model, int pageLimit)
{
    return Paginator(model, std::max(1, pageLimit)).run();
}

}  // namespace wordproc
