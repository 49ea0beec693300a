// The fillable PDF: how long exporting it takes (the form built, laid out, drawn, the fields
// added), and how long importing a filled copy takes, from its bytes in memory.
#include "record/RecordValues.h"
#include "pdfform/LinkedFormLayer.h"
#include "form/FillablePdf.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ExportFillableSample(benchmark::State &state)
{
    const record::RecordSnapshot sample = record::RecordSnapshot::sample();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = form::fillableFormOf(pdfform::linkedFormLayer(), &sample).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ExportFillableSample)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ExportFillableBlank(benchmark::State &state)
{
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = form::fillableFormOf(pdfform::linkedFormLayer(), nullptr).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ExportFillableBlank)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A form holding every value of the example record, as an applicant's filled copy holds them.
void BM_ImportFilled(benchmark::State &state)
{
    const record::RecordSnapshot sample = record::RecordSnapshot::sample();
    const QByteArray pdf = form::fillableFormOf(pdfform::linkedFormLayer(), &sample);
    for (auto _ : state)
        benchmark::DoNotOptimize(form::importFilledBytes(pdfform::linkedFormLayer(), pdf).taken.size());
}
BENCHMARK(BM_ImportFilled)->Unit(benchmark::kMillisecond)->Repetitions(11)->ReportAggregatesOnly(true);

} // namespace
