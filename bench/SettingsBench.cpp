// One keystroke's write: a field's whole value saved into the store, on the
// disk (the folder is made in the system's temporary folder, which must not be
// a memory file system for the figure to mean anything), before the call
// returns. With the sample meeting's store, a store of 20 KB, and one whose
// notes hold 1,000,000 characters. And the start's read of the store, alone
// and in a file shared with another program's many keys.
#include "meeting/Fields.h"
#include "meeting/RecordStorage.h"
#include "meeting/SettingsStore.h"
#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString app = QStringLiteral("Tessaly"), section = QStringLiteral("Corvalin");

// Each iteration is one keystroke in a short field, which saves its whole value.
void typeKeystrokes(benchmark::State& state, meeting::IniSettingsStore& store)
{
    QString text = QStringLiteral("Penguins are black and white");
    for (auto _ : state) {
        text += QLatin1Char('x');
        store.save(app, section, QStringLiteral("txtDiscussion10"), text);
        if (text.size() > 80)
            text.truncate(28);
    }
}

void KeystrokeWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    meeting::IniSettingsStore store(dir.path());
    const int fieldLength = static_cast<int>(state.range(0));
    for (int i = 0; i < 27; ++i)  // a store as full as the program's
        store.save(app, section, QStringLiteral("key%1").arg(i),
                   QStringLiteral("Some typical field text %1 ").arg(i).leftJustified(fieldLength, QLatin1Char('x')));
    typeKeystrokes(state, store);
    state.counters["store_bytes"] = double(27 * (fieldLength + 8));
}
// About 30 characters a field is the sample meeting (779 bytes); 740 is 20 KB.
BENCHMARK(KeystrokeWrite)->Arg(30)->Arg(740)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A keystroke into a meeting of fifty topics, every field of every topic
// holding a sentence (about 60 KB).
void KeystrokeIntoFiftyTopics(benchmark::State& state)
{
    QTemporaryDir dir;
    meeting::IniSettingsStore store(dir.path());
    store.holdWrites();
    for (int topic = 0; topic < meeting::kMostTopics; ++topic)
        for (const meeting::FieldFacts& f : meeting::kFields)
            if (f.topic || topic == 0)
                store.save(app, section, meeting::writeKey(f.field, topic),
                           QStringLiteral("%1 of topic %2, as the meeting agreed it.").arg(f.caption).arg(topic + 1));
    store.save(app, section, QLatin1String(meeting::kTopicCountKey), QString::number(meeting::kMostTopics));
    store.releaseWrites();
    typeKeystrokes(state, store);
    state.counters["store_bytes"] = double(QFileInfo(store.filePath(app)).size());
}
BENCHMARK(KeystrokeIntoFiftyTopics)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A keystroke in a short field while another field holds 1,000,000 characters:
// the whole store is written again, so its size is what costs.
void KeystrokeBesideALongField(benchmark::State& state)
{
    QTemporaryDir dir;
    meeting::IniSettingsStore store(dir.path());
    store.save(app, section, QStringLiteral("txtNotes"), QStringLiteral("minutes ").repeated(125000));
    typeKeystrokes(state, store);
}
BENCHMARK(KeystrokeBesideALongField)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A keystroke while another program holds the store's lock for good: how long
// the window waits before the value is left pending for the retry.
void KeystrokeWhileLocked(benchmark::State& state)
{
    QTemporaryDir dir;
    meeting::IniSettingsStore store(dir.path());
    store.save(app, section, QStringLiteral("txtTitle"), QStringLiteral("sample"));
    platform::FileLock other(store.filePath(app) + QStringLiteral(".lock"));
    if (!other.tryLock(0)) {
        state.SkipWithError("the lock could not be taken");
        return;
    }
    typeKeystrokes(state, store);
}
BENCHMARK(KeystrokeWhileLocked)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The start's read of the store: a new store (as each start makes one) opens
// the file and the restore reads the meeting's 27 keys. The meeting alone, and
// in a file where another program keeps a section of 40,000 or 160,000 keys.
void StartRead(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray file;
    const int foreign = static_cast<int>(state.range(0));
    if (foreign > 0) {
        file += "[Planner]\n";
        for (int i = 0; i < foreign; ++i)
            file += "recentItem" + QByteArray::number(i) + "=a value another program keeps, " + QByteArray::number(i)
                    + '\n';
        file += '\n';
    }
    file += "[Corvalin]\n";
    for (const auto& f : meeting::kFields)
        file += meeting::writeKey(f.field).toLatin1() + "=Some typical field text\n";
    QFile out(QDir(dir.path()).filePath(QStringLiteral("Tessaly.ini")));
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        state.SkipWithError("the store could not be written");
    out.close();
    for (auto _ : state) {
        meeting::IniSettingsStore store(dir.path());
        for (const auto& f : meeting::kFields)
            benchmark::DoNotOptimize(store.get(app, section, meeting::readKey(f.field), QString()));
    }
    state.counters["store_bytes"] = double(file.size());
}
BENCHMARK(StartRead)
    ->Arg(0)
    ->Arg(40000)
    ->Arg(160000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
