// Listing a vacancy's folder of 2,000 applicant files of the sample's size, as the Applicants window
// and tenvoria-render --compare do: each file read, its incomes read, one row each.
#include "compare/ApplicantList.h"
#include "record/ApplicantFile.h"
#include "record/RecordValues.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_ListFolderOf2000ApplicantFiles(benchmark::State &state)
{
    QTemporaryDir dir;
    QMap<QString, QString> record = record::settingsOf(record::RecordSnapshot::sample());
    for (int i = 0; i < 2000; ++i) {
        record.insert(QStringLiteral("App Info Name"), QStringLiteral("Applicant %1").arg(i));
        record.insert(QStringLiteral("App Info Emp Info Annual Income"), QStringLiteral("$%1,000").arg(30 + i % 70));
        record::writeApplicantFile(dir.filePath(QStringLiteral("applicant-%1.tenvoria").arg(i)), record);
    }
    for (auto _ : state) {
        const QList<compare::ApplicantRow> rows = compare::listApplicants(dir.path());
        if (rows.size() != 2000)
            state.SkipWithError("not every file was listed");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ListFolderOf2000ApplicantFiles)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
