// The whole road: from a click on "Start Creating Template" to the preview
// shown with Page 1, for the sample meeting and for a meeting whose texts fill
// about ten pages. Where LibreOffice is installed, its conversion of the same
// saved document is timed too, for comparison.
#include "app/Application.h"
#include "bench/Soffice.h"
#include "entry/Form1.h"
#include "meeting/SettingsStore.h"
#include "preview/Form2.h"
#include "wordproc/Layout.h"
#include "wordproc/WordApplication.h"
#include "wordproc/WordProcessor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString gLastDocument;

// The fields a long meeting fills: the topic's discussion and conclusions, and the notes.
QList<QLineEdit*> longFields(entry::Form1& form)
{
    return {form.txtDiscussion1[0], form.txtDiscussion2[0], form.txtDiscussion3[0], form.txtConclusion1[0],
            form.txtConclusion2[0], form.txtConclusion3[0], form.txtNotes};
}

// Times the click to the preview, then goes back; the generated document is
// kept as `keepAs` when a name is given. Returns the pages of the last run.
int clickToPreview(benchmark::State& state, entry::Form1& form, const QString& keepAs = QString())
{
    form.show();
    int pages = 0;
    for (auto _ : state) {
        form.PushButton22->click();
        state.PauseTiming();
        pages = form.previewWindow()->pageCount();
        if (!keepAs.isEmpty()) {
            gLastDocument = folder().filePath(keepAs);
            QFile::remove(gLastDocument);
            QFile::copy(form.previewWindow()->mWordFile, gLastDocument);
        }
        form.previewWindow()->PushButton8->click();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    return pages;
}

void run(benchmark::State& state, bool long_texts)
{
    entry::Form1 form;
    form.Form_Load();
    form.PushButton3_Click();
    if (long_texts) {
        QString prose;
        for (int i = 0; i < 760; ++i)
            prose += QStringLiteral("minutes%1 ").arg(i % 97);
        for (QLineEdit* e : longFields(form))
            e->setText(prose);
    }
    clickToPreview(state, form, long_texts ? QStringLiteral("ten.doc") : QStringLiteral("sample.doc"));
}

void SampleMeeting(benchmark::State& state) { run(state, false); }
BENCHMARK(SampleMeeting)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void TenPageMeeting(benchmark::State& state) { run(state, true); }
BENCHMARK(TenPageMeeting)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Long meetings, click to preview: one field of `chars` characters of words,
// of one unbroken token (a pasted link, a long number), of ideographs, or the
// same length of words spread over seven fields. The time per page should stay
// flat as the document grows.
QString longText(int shape, int chars)
{
    QString text;
    text.reserve(chars + 16);
    for (int i = 0; text.size() < chars; ++i) {
        switch (shape) {
        case 1: text += QString::number(1000003 + i); break;
        case 2: text += QChar(0x4E00 + (i * 7919) % 3000); break;
        default: text += QStringLiteral("minutes%1 ").arg(i % 97); break;
        }
    }
    text.truncate(chars);
    return text;
}

void LongMeeting(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const int chars = static_cast<int>(state.range(1));
    entry::Form1 form;
    form.Form_Load();
    form.PushButton2_Click();
    const QList<QLineEdit*> fields = shape == 3 ? longFields(form) : QList<QLineEdit*>{form.txtDiscussion1[0]};
    for (QLineEdit* e : fields)
        e->setText(longText(shape == 3 ? 0 : shape, chars / static_cast<int>(fields.size())));
    const int pages = clickToPreview(state, form);
    state.counters["s_per_page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(LongMeeting)
    ->ArgNames({"shape", "chars"})
    ->ArgsProduct({{0, 1, 2, 3}, {10000, 100000, 1000000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The same document through the component alone, for the ratio below.
void OpenLayOutAndPaintAllPages(const QString& path, double* ms)
{
    QElapsedTimer t;
    t.start();
    wordproc::WordProcessor word;
    auto doc = word.open(path, true);
    for (const auto& page : doc->layout().pages)
        benchmark::DoNotOptimize(page.picture.toImage(96));
    *ms = t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TEMP", QFile::encodeName(folder().path()));
    meeting::setSettingsFolder(folder().path());
    app::Application application(argc, argv);
    wordproc::registerComponent();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    const QString sample = folder().filePath(QStringLiteral("sample.doc"));
    if (bench::sofficeInstalled() && QFile::exists(sample)) {
        double ours = 0;
        OpenLayOutAndPaintAllPages(sample, &ours);
        const double theirs = bench::sofficeToPdfMs(sample, folder().path());
        if (theirs > 0)
            std::printf("sample.doc: Corvalin opens, lays out and paints it in %.1f ms; "
                        "soffice --convert-to pdf takes %.0f ms (%.0f times as long)\n",
                        ours, theirs, theirs / ours);
    }
    return 0;
}
