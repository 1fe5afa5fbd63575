// The whole road: from a click on "Start Creating Template" to the preview
// shown with Page 1, for the sample meeting, for a meeting whose texts fill
// about ten pages, and for one of fifty topics. Where LibreOffice is installed, its conversion of the same
// saved document is timed too, for comparison.
#include "app/Application.h"
#include "bench/Soffice.h"
#include "entry/Form1.h"
#include "meeting/Fields.h"
#include "meeting/SettingsStore.h"
#include "preview/Form2.h"
#include "wordproc/WordApplication.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

// Documents kept for LibreOffice, with Corvalin's time from the click to the preview.
struct Kept {
    QString path;
    double ms = 0;
};
std::vector<Kept> gKept;

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
        QElapsedTimer t;
        t.start();
        form.PushButton22->click();
        const double ms = t.nsecsElapsed() / 1e6;
        state.PauseTiming();
        pages = form.previewWindow()->pageCount();
        if (!keepAs.isEmpty()) {
            const QString path = folder().filePath(keepAs);
            QFile::remove(path);
            QFile::copy(form.previewWindow()->mWordFile, path);
            if (gKept.empty() || gKept.back().path != path)
                gKept.push_back({path, ms});
            gKept.back().ms = ms;  // the last click, past the first run's warming up
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

// The most topics a meeting has, every field of every topic holding a sentence.
void FiftyTopics(benchmark::State& state)
{
    entry::Form1 form;
    form.Form_Load();
    form.PushButton3_Click();
    form.setTopicCount(meeting::kMostTopics);
    for (int topic = 0; topic < meeting::kMostTopics; ++topic)
        for (const meeting::FieldFacts& f : meeting::kFields)
            if (f.topic && f.kind == meeting::FieldKind::Text)
                form.textField(f.field, topic)
                    ->setText(
                        QStringLiteral("%1 of topic %2, as the meeting agreed it.").arg(f.caption).arg(topic + 1));
    clickToPreview(state, form, QStringLiteral("fifty.doc"));
}
BENCHMARK(FiftyTopics)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Long meetings, click to preview: one field of words, of one unbroken token
// (a pasted link, a long number), of ideographs, or words spread over seven
// fields. The time per page should stay flat as the document grows.
enum Shape { Words, NoBlank, Ideographs, SeveralFields };
constexpr const char* kShapeNames[] = {"words", "noblank", "cjk", "several"};

QString longText(int shape, qsizetype chars)
{
    QString text;
    text.reserve(chars + 16);
    for (int i = 0; text.size() < chars; ++i) {
        switch (shape) {
        case NoBlank: text += QString::number(1000003 + i); break;
        case Ideographs: text += QChar(0x4E00 + (i * 7919) % 3000); break;
        default: text += QStringLiteral("minutes%1 ").arg(i % 97); break;
        }
    }
    text.truncate(chars);
    return text;
}

// The pictures the preview holds for the document's pages.
qint64 pictureBytes(entry::Form1& form)
{
    const preview::Form2& preview = *form.previewWindow();
    qint64 bytes = 0;
    for (const preview::PageView::Page& page : preview.view().documentPages())
        bytes += page->memoryBytes();
    return bytes;
}

// Clicks to the preview of a meeting whose long fields hold `chars` characters
// in all; keeps the document for LibreOffice as `keepAs`.
void longMeeting(benchmark::State& state, int shape, qsizetype chars, const QString& keepAs)
{
    entry::Form1 form;
    form.Form_Load();
    form.PushButton2_Click();
    const QList<QLineEdit*> fields =
        shape == SeveralFields ? longFields(form) : QList<QLineEdit*>{form.txtDiscussion1[0]};
    for (QLineEdit* e : fields)
        e->setText(longText(shape == SeveralFields ? Words : shape, chars / fields.size()));
    const int pages = clickToPreview(state, form, keepAs);
    state.counters["chars"] = static_cast<double>(chars);
    state.counters["per_page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    form.PushButton22->click();  // once more, to weigh the pictures the preview keeps
    state.counters["picture_MB"] = static_cast<double>(pictureBytes(form)) / (1 << 20);
}

// About how many characters of each shape fill a page of the minutes.
constexpr double kCharsPerPage[] = {7250, 6900, 2865, 7630};

// The curve: about 10, 100 and 1,000 pages of each shape.
void LongMeeting(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    const auto chars = static_cast<qsizetype>(kCharsPerPage[shape] * static_cast<double>(state.range(1)));
    longMeeting(state, shape, chars, QString());
}
BENCHMARK(LongMeeting)
    ->ArgNames({"shape", "pages"})
    ->ArgsProduct({{Words, NoBlank, Ideographs, SeveralFields}, {10, 100, 1000}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A meeting of 1,000,000 characters in all, of each shape; its document is
// kept to time LibreOffice on it.
void MillionCharacters(benchmark::State& state)
{
    const int shape = static_cast<int>(state.range(0));
    longMeeting(state, shape, 1000000, QStringLiteral("million-%1.doc").arg(QLatin1String(kShapeNames[shape])));
}
BENCHMARK(MillionCharacters)
    ->ArgName("shape")
    ->DenseRange(Words, SeveralFields)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

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

    if (!bench::sofficeInstalled())
        return 0;
    constexpr int kLimitMs = 120000;
    for (const Kept& kept : gKept) {
        QElapsedTimer t;
        t.start();
        const double theirs = bench::sofficeToPdfMs(kept.path, folder().path(), kLimitMs);
        const QByteArray name = QFileInfo(kept.path).fileName().toUtf8();
        if (theirs >= 0)
            std::printf("%s: Corvalin's click to preview took %.0f ms; soffice --convert-to pdf took %.0f ms "
                        "(%.1f times as long)\n",
                        name.constData(), kept.ms, theirs, theirs / kept.ms);
        else if (t.elapsed() >= kLimitMs)
            std::printf("%s: Corvalin's click to preview took %.0f ms; soffice --convert-to pdf had not finished "
                        "after %d s (more than %.0f times as long)\n",
                        name.constData(), kept.ms, kLimitMs / 1000, kLimitMs / kept.ms);
        else
            std::printf("%s: soffice --convert-to pdf failed\n", name.constData());
    }
    return 0;
}
