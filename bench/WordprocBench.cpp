// The word-processor component: filling the template with the sample meeting
// through its members by name, laying out and painting a page, taking a 20-page
// document apart page by page as the page rendering does, and reading and
// laying out a paragraph of very many runs, and one paragraph of very many
// characters with and without break opportunities.
#include "app/Resources.h"
#include "automation/Object.h"
#include "tests/support/SampleMeeting.h"
#include "wordproc/Layout.h"
#include "wordproc/Package.h"
#include "wordproc/WordApplication.h"
#include "wordproc/WordProcessor.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using automation::call;
using automation::get;
using automation::named;

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString templatePath()
{
    const QString path = folder().filePath(QStringLiteral("template.dot"));
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(app::LoadResData(101, QStringLiteral("CUSTOM")));
    }
    return path;
}

QString sampleDocument()
{
    const QString path = folder().filePath(QStringLiteral("sample.doc"));
    if (!QFile::exists(path)) {
        const auto word = wordproc::createWordApplication();
        testing_support::typePieces(word, templatePath(), testing_support::samplePieces());
        call(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("SaveAs"), {path});
        call(word, QStringLiteral("Quit"));
    }
    return path;
}

QString twentyPages()
{
    const QString path = folder().filePath(QStringLiteral("twenty.doc"));
    if (!QFile::exists(path)) {
        wordproc::WordProcessor word;
        auto doc = word.open(templatePath(), true);
        QString prose;
        for (int i = 0; i < 8500; ++i)
            prose += QStringLiteral("minutes%1 ").arg(i % 97);
        for (int r : {13, 16}) {
            doc->selection().selectCell(0, r, 0);
            doc->selection().typeText(prose);
        }
        doc->saveAs(path);
    }
    return path;
}

void FillTemplateByName(benchmark::State& state)
{
    const QString path = templatePath();
    const auto pieces = testing_support::samplePieces();
    const QString out = folder().filePath(QStringLiteral("out.doc"));
    for (auto _ : state) {
        const auto word = wordproc::createWordApplication();
        testing_support::typePieces(word, path, pieces);
        const auto doc = get(word, QStringLiteral("ActiveDocument")).toObject();
        call(doc, QStringLiteral("SaveAs"), {out});
        call(doc, QStringLiteral("Close"));
        call(word, QStringLiteral("quit"));
    }
}
BENCHMARK(FillTemplateByName)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void RepaginateAndPaintPage1(benchmark::State& state)
{
    wordproc::WordProcessor word;
    auto doc = word.open(sampleDocument(), true);
    QImage image(816, 1056, QImage::Format_RGB32);
    qint64 bytes = 0;
    for (auto _ : state) {
        doc->changed();  // forget the layout: the next call lays the document out anew
        const auto& page = doc->layout().pages.front().picture;
        QPainter p(&image);
        page.paint(p, QRectF(image.rect()));
        bytes = page.memoryBytes();
    }
    state.counters["picture_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(RepaginateAndPaintPage1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Open, then per page: copy the first page as a picture, go to page 2, extend
// to the start and delete; close without saving.
void TakeTwentyPagesApart(benchmark::State& state)
{
    const QString path = twentyPages();
    int pages = 0;
    for (auto _ : state) {
        const auto word = wordproc::createWordApplication();
        call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"), {path});
        const auto doc = get(word, QStringLiteral("ActiveDocument")).toObject();
        call(doc, QStringLiteral("Repaginate"));
        pages = get(doc, QStringLiteral("BuiltInDocumentProperties"), {qint16(14)}).toLong();
        for (int done = 0; done < pages; ++done) {
            call(call(doc, QStringLiteral("Range")).toObject(), QStringLiteral("CopyAsPicture"));
            const auto sel = get(word, QStringLiteral("Selection")).toObject();
            if (pages - done <= 1) {
                call(sel, QStringLiteral("EndKey"),
                     {named(QStringLiteral("Unit"), qint16(6)), named(QStringLiteral("Extend"), qint16(1))});
            } else {
                call(sel, QStringLiteral("GoTo"),
                     {named(QStringLiteral("What"), qint16(1)), named(QStringLiteral("Which"), qint16(2)),
                      named(QStringLiteral("Name"), qint16(2))});
                call(sel, QStringLiteral("HomeKey"),
                     {named(QStringLiteral("Unit"), qint16(6)), named(QStringLiteral("Extend"), qint16(1))});
                call(sel, QStringLiteral("Delete"),
                     {named(QStringLiteral("Unit"), qint16(1)), named(QStringLiteral("count"), qint16(1))});
            }
        }
        call(doc, QStringLiteral("Close"), {named(QStringLiteral("savechanges"), qint16(0))});
        call(word, QStringLiteral("quit"));
    }
    state.counters["pages"] = pages;
}
BENCHMARK(TakeTwentyPagesApart)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// One paragraph of as many runs as the argument, every other one bold, saved
// as a package: reading it and laying out every page must stay linear in runs.
QByteArray manyRuns(int runs)
{
    static QHash<int, QByteArray> made;
    if (!made.contains(runs)) {
        wordproc::DocumentModel m;
        wordproc::Paragraph p;
        for (int i = 0; i < runs; ++i) {
            wordproc::Run r{QStringLiteral("w%1 ").arg(i % 10), {}};
            if (i % 2)
                r.format.bold = true;
            p.runs.push_back(std::move(r));
        }
        m.body.emplace_back(std::move(p));
        const QString path = folder().filePath(QStringLiteral("runs%1.docx").arg(runs));
        wordproc::savePackage(m, path, 1);
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        made.insert(runs, f.readAll());
    }
    return made.value(runs);
}

void ReadAndLayOutOneParagraphOfManyRuns(benchmark::State& state)
{
    const QByteArray bytes = manyRuns(static_cast<int>(state.range(0)));
    size_t pages = 0;
    for (auto _ : state) {
        const wordproc::DocumentModel m = wordproc::readPackage(bytes, QStringLiteral("runs.docx"));
        pages = wordproc::layoutDocument(m).pages.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["package_KB"] = bytes.size() / 1024.0;
}
BENCHMARK(ReadAndLayOutOneParagraphOfManyRuns)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

// 100,000 styles, each based on the next, and 3,000 tiny paragraphs that
// each name a style the sheet lacks: resolving must not scan the sheet per
// paragraph.
void LayOutUnderASheetOfManyStyles(benchmark::State& state)
{
    wordproc::DocumentModel m;
    for (int i = 0; i < 100000; ++i) {
        wordproc::Style s;
        s.id = QStringLiteral("s%1").arg(i);
        s.basedOn = QStringLiteral("s%1").arg(i + 1);
        m.styles.push_back(s);
    }
    for (int i = 0; i < 3000; ++i) {
        wordproc::Paragraph p;
        p.style = QStringLiteral("x%1").arg(i);
        p.format.lineSpacing = 12;
        wordproc::Run r{QStringLiteral("a"), {}};
        r.format.size = 0.5;
        p.runs.push_back(r);
        m.body.emplace_back(std::move(p));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(wordproc::layoutDocument(m, 2).pages.size());
}
BENCHMARK(LayOutUnderASheetOfManyStyles)->Unit(benchmark::kMillisecond);

// A table row whose one cell holds about 300 pages of text, laid out whole:
// each page's share of the row must cost that page's lines, not the rest's.
void LayOutARowThreeHundredPagesTall(benchmark::State& state)
{
    wordproc::DocumentModel m;
    wordproc::Paragraph p;
    QString prose;
    for (int i = 0; i < 650 * 300; ++i)
        prose += QStringLiteral("minutes%1 ").arg(i % 97);
    p.runs.push_back(wordproc::Run{prose, {}});
    wordproc::Cell c;
    c.width = 9360;
    c.paragraphs.push_back(p);
    wordproc::Table t;
    t.rows.emplace_back();
    t.rows[0].cells.push_back(c);
    m.body.emplace_back(t);
    size_t pages = 0;
    for (auto _ : state)
        pages = wordproc::layoutDocument(m).pages.size();
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(LayOutARowThreeHundredPagesTall)->Unit(benchmark::kMillisecond);

// One paragraph of N characters, as words, as one unbroken token (a pasted
// link or number) and as CJK text, laid out and every page painted: time
// per page must not grow with the paragraph, whatever its break opportunities.
enum class Shape { Words, NoBlank, Cjk };

QString longParagraph(Shape shape, int length)
{
    QString text;
    text.reserve(length + 16);
    for (int i = 0; text.size() < length; ++i) {
        switch (shape) {
        case Shape::Words: text += QStringLiteral("minutes%1 ").arg(i % 97); break;
        case Shape::NoBlank: text += QChar(u'a' + i % 26); break;
        case Shape::Cjk:
            text += QChar(0x4E00 + (i * 37) % 3000);  // about as many ideographs as everyday text uses
            break;
        }
    }
    text.truncate(length);
    return text;
}

void LayOutAndPaintOneLongParagraph(benchmark::State& state)
{
    wordproc::DocumentModel m;
    wordproc::Paragraph p;
    p.runs.push_back({longParagraph(static_cast<Shape>(state.range(0)), static_cast<int>(state.range(1))), {}});
    m.body.emplace_back(std::move(p));
    QImage image(408, 528, QImage::Format_RGB32);
    size_t pages = 0;
    for (auto _ : state) {
        const wordproc::PageLayout layout = wordproc::layoutDocument(m);
        QPainter painter(&image);
        for (const auto& page : layout.pages)
            page.picture.paint(painter, QRectF(image.rect()));
        pages = layout.pages.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["s_per_page"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(LayOutAndPaintOneLongParagraph)
    ->ArgNames({"shape", "chars"})
    ->ArgsProduct({{int(Shape::Words), int(Shape::NoBlank), int(Shape::Cjk)}, {10000, 100000, 1000000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
