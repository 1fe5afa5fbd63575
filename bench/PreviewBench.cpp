// The preview window: one zoom step with its redraw of a Letter page, one
// drag move, what a 20-page document at 400 % adds to the process, and that
// document written as PDF (beside LibreOffice's conversion of the same saved
// document, where it is installed).
#include "app/Application.h"
#include "app/Resources.h"
#include "bench/Soffice.h"
#include "preview/Form2.h"
#include "preview/PageOutput.h"
#include "wordproc/Layout.h"
#include "wordproc/WordProcessor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The document of the pages below, saved.
QString savedDocument() { return folder().filePath(QStringLiteral("twenty.doc")); }

// Pages of a real document: the template with long texts, laid out; the
// texts fill exactly 20 pages.
std::vector<platform::Picture> pages(int count)
{
    static std::vector<platform::Picture> made;
    if (made.empty()) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("template.dot"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(app::LoadResData(101, QStringLiteral("CUSTOM")));
        f.close();
        wordproc::WordProcessor word;
        auto doc = word.open(path, true);
        QString prose;
        for (int i = 0; i < 16900; ++i)
            prose += QStringLiteral("minutes%1 ").arg(i % 97);
        doc->selection().selectCell(0, 13, 0);
        doc->selection().typeText(prose);
        for (const auto& p : doc->layout().pages)
            made.push_back(p.picture);
        doc->saveAs(savedDocument());
    }
    return {made.begin(), made.begin() + std::min<size_t>(count, made.size())};
}

// The pages as the preview holds them for its output.
preview::Pages shared(const std::vector<platform::Picture>& pictures)
{
    preview::Pages out;
    for (const platform::Picture& p : pictures)
        out.push_back(std::make_shared<const platform::Picture>(p));
    return out;
}

struct Window {
    explicit Window(int count)
    {
        form.Form_Load();
        const auto pictures = pages(count);
        for (size_t k = 0; k < pictures.size(); ++k) {
            form.addPage(QStringLiteral("Page %1").arg(k + 1));
            form.loadImage(static_cast<int>(k));
            form.setImagePicture(static_cast<int>(k), pictures[k]);
        }
        form.showImage(0);
        form.show();
    }
    // What one frame of the viewport shows.
    void frame() { benchmark::DoNotOptimize(form.Picture2->grab()); }
    preview::Form2 form;
};

void ZoomStepWithRedraw(benchmark::State& state)
{
    Window w(1);
    bool in = true;
    for (auto _ : state) {
        w.form.StepZoom(in ? 0 : 1);
        w.frame();
        in = !in;
    }
}
BENCHMARK(ZoomStepWithRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void DragMove(benchmark::State& state)
{
    Window w(1);
    w.form.StepZoom(0);
    w.form.Picture1_MouseDown(3000, 3000);
    float x = 3000;
    for (auto _ : state) {
        x = x > 1000 ? x - 150 : 3000;
        w.form.Picture1_MouseMove(true, x, 3000);
        w.frame();
    }
}
BENCHMARK(DragMove)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

double residentMegabytes()
{
    long pagesResident = 0, total = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &total, &pagesResident) != 2)
            pagesResident = 0;
        std::fclose(f);
    }
    return static_cast<double>(pagesResident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void TwentyPagesAt400Percent(benchmark::State& state)
{
    pages(20);
    double added = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        Window w(20);
        for (int k = 0; k < w.form.pageCount(); ++k) {
            w.form.ListView1->setCurrentItem(w.form.ListView1->topLevelItem(k));
            w.form.ListView1_Click();
            for (int i = 0; i < 12; ++i)
                w.form.StepZoom(0);
            w.frame();
        }
        added = residentMegabytes() - before;
    }
    state.counters["added_MB"] = added;
}
BENCHMARK(TwentyPagesAt400Percent)->Unit(benchmark::kMillisecond)->Iterations(1);

// "Save as PDF…" of a 20-page meeting: every page painted into the PDF writer, in memory.
void PdfOfTwentyPages(benchmark::State& state)
{
    const preview::Pages twenty = shared(pages(20));
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = preview::pdfOfPages(twenty, QStringLiteral("Twenty pages")).size();
    state.counters["pages"] = static_cast<double>(twenty.size());
    state.counters["KB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(PdfOfTwentyPages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    app::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    if (bench::sofficeInstalled()) {
        const preview::Pages twenty = shared(pages(20));
        QElapsedTimer t;
        t.start();
        benchmark::DoNotOptimize(preview::pdfOfPages(twenty, QStringLiteral("Twenty pages")));
        const double ours = t.nsecsElapsed() / 1e6;
        // The first start sets up LibreOffice's profile; the second is the one timed.
        const double first = bench::sofficeToPdfMs(savedDocument(), folder().path());
        const double theirs = bench::sofficeToPdfMs(savedDocument(), folder().path());
        if (theirs > 0)
            std::printf("%s (%zu pages) as PDF: Corvalin %.0f ms from its pages; soffice --convert-to pdf %.0f ms "
                        "(%.0f ms at its first start)\n",
                        qPrintable(savedDocument()), twenty.size(), ours, theirs, first);
    }
    return 0;
}
