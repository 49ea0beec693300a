// One durable write of one field with the whole record (76 keys) present, as a keystroke causes;
// start-up and one keystroke with a store that other programs' sections made large.
#include "record/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void fillRecord(record::SettingsStore &store)
{
    for (int i = 0; i < 76; ++i)
        store.write(QStringLiteral("Field Key %1").arg(i), QStringLiteral("typical value %1").arg(i));
}

void BM_StoreWriteOneFieldOf76(benchmark::State &state)
{
    QTemporaryDir dir;
    record::SettingsStore store(dir.filePath(QStringLiteral("Marrowick.conf")));
    fillRecord(store);
    int n = 0;
    for (auto _ : state)
        store.write(QStringLiteral("Field Key 7"), QStringLiteral("Dorian Pellwick Jr. %1").arg(++n));
}
BENCHMARK(BM_StoreWriteOneFieldOf76)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StoreWriteOneMegabyteValue(benchmark::State &state)
{
    QTemporaryDir dir;
    record::SettingsStore store(dir.filePath(QStringLiteral("Marrowick.conf")));
    fillRecord(store);
    QString big(1 << 20, QLatin1Char('x'));
    int n = 0;
    for (auto _ : state) {
        big[0] = QChar(u'a' + (++n % 26));
        store.write(QStringLiteral("Field Key 9"), big);
    }
}
BENCHMARK(BM_StoreWriteOneMegabyteValue)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A store that grew: 50 MB of 100,000 keys that other programs keep in 100 sections of their own,
// with the program's section of 76 keys among them.
QByteArray largeSharedStore()
{
    QByteArray text;
    text.reserve(52 << 20);
    const QByteArray value(500, 'v');
    for (int section = 0; section < 100; ++section) {
        if (section == 50) {
            text += "[Tenvoria]\n";
            for (int i = 0; i < 76; ++i)
                text += "Field%20Key%20" + QByteArray::number(i) + "=\"typical value " + QByteArray::number(i) + "\"\n";
            text += '\n';
        }
        text += "[Other" + QByteArray::number(section) + "]\n";
        for (int key = 0; key < 1000; ++key)
            text += "key" + QByteArray::number(key) + '=' + value + '\n';
        text += '\n';
    }
    return text;
}

void writeLargeStore(const QString &path)
{
    static const QByteArray text = largeSharedStore();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
}

// Start-up: the store opened and all 76 keys read back, as the window's restore does.
void BM_StoreOpenAndRestoreWith50MBOfOtherSections(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marrowick.conf"));
    writeLargeStore(path);
    for (auto _ : state) {
        record::SettingsStore store(path);
        for (int i = 0; i < 76; ++i)
            benchmark::DoNotOptimize(store.read(QStringLiteral("Field Key %1").arg(i)));
    }
}
BENCHMARK(BM_StoreOpenAndRestoreWith50MBOfOtherSections)->Unit(benchmark::kMillisecond)->Iterations(3)
    ->Repetitions(3)->ReportAggregatesOnly(true);

// One keystroke's durable write into that store.
void BM_StoreWriteOneFieldWith50MBOfOtherSections(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marrowick.conf"));
    writeLargeStore(path);
    record::SettingsStore store(path);
    int n = 0;
    for (auto _ : state)
        store.write(QStringLiteral("Field Key 7"), QStringLiteral("Dorian Pellwick Jr. %1").arg(++n));
}
BENCHMARK(BM_StoreWriteOneFieldWith50MBOfOtherSections)->Unit(benchmark::kMillisecond)->Iterations(5)
    ->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
