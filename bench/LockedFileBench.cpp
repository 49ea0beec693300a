// Unlocking an applicant file as the program locks it (Argon2id, 3 passes over 256 MiB): the cost a
// landlord waits for at each Open, and a guesser pays for each guess.
#include "record/LockedFile.h"

#include <benchmark/benchmark.h>

namespace {

void BM_UnlockApplicantFile(benchmark::State &state)
{
    const record::Passphrase passphrase(QStringLiteral("correct horse battery staple"));
    const QByteArray locked = record::lockBytes(QByteArray(3000, 'r'), passphrase);
    for (auto _ : state)
        benchmark::DoNotOptimize(record::unlockBytes(locked, passphrase));
}
BENCHMARK(BM_UnlockApplicantFile)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
