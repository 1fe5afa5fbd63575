// One keystroke's write: a field's whole value saved into the 27-entry store,
// on disk, before the call returns.
#include "meeting/Record.h"
#include "meeting/SettingsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void KeystrokeWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    meeting::IniSettingsStore store(dir.path());
    const QString app = QStringLiteral("Tessaly"), section = QStringLiteral("Corvalin");
    for (int i = 0; i < 27; ++i)  // a store as full as the program's
        store.save(app, section, QStringLiteral("key%1").arg(i), QStringLiteral("Some typical field text %1").arg(i));
    QString text = QStringLiteral("Penguins are black and white");
    for (auto _ : state) {
        text += QLatin1Char('x');
        store.save(app, section, QStringLiteral("txtDiscussion10"), text);
        if (text.size() > 80)
            text.truncate(28);
    }
}
BENCHMARK(KeystrokeWrite)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
