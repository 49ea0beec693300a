// One durable write of one field with the whole record (76 keys) present, as a keystroke causes.
#include "shell/SettingsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void fillRecord(shell::SettingsStore &store)
{
    for (int i = 0; i < 76; ++i)
        store.write(QStringLiteral("Field Key %1").arg(i), QStringLiteral("typical value %1").arg(i));
}

void BM_StoreWriteOneFieldOf76(benchmark::State &state)
{
    QTemporaryDir dir;
    shell::SettingsStore store(dir.filePath(QStringLiteral("Marrowick.conf")));
    fillRecord(store);
    int n = 0;
    for (auto _ : state)
        store.write(QStringLiteral("Field Key 7"), QStringLiteral("Dorian Pellwick Jr. %1").arg(++n));
}
BENCHMARK(BM_StoreWriteOneFieldOf76)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StoreWriteOneMegabyteValue(benchmark::State &state)
{
    QTemporaryDir dir;
    shell::SettingsStore store(dir.filePath(QStringLiteral("Marrowick.conf")));
    fillRecord(store);
    QString big(1 << 20, QLatin1Char('x'));
    int n = 0;
    for (auto _ : state) {
        big[0] = QChar(u'a' + (++n % 26));
        store.write(QStringLiteral("Field Key 9"), big);
    }
}
BENCHMARK(BM_StoreWriteOneMegabyteValue)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
