// The built-in engine on the sample form: building it through the automation interface (about
// 490 calls), saving it as .doc, opening it again and rendering its page.
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/OutputFiles.h"
#include "generator/RentalApplication.h"
#include "automation/WordAutomation.h"
#include "runtime/ErrorTrap.h"
#include "wordproc/engine/BuiltinEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

struct SampleRecord {
    QWidget owner;
    entry::RecordWidgets widgets = entry::createRecordControls(&owner);
    SampleRecord()
    {
        runtime::ErrorTrap trap(QStringLiteral("bench"), QStringLiteral("sample"));
        entry::loadSampleData(widgets, trap);
    }
};

SampleRecord &sample()
{
    static SampleRecord record;
    return record;
}

wordproc::BuiltinApplicationFactory &engine()
{
    static QTemporaryDir lockDir;
    static wordproc::BuiltinApplicationFactory factory(lockDir.filePath(QStringLiteral("engine.lock")));
    return factory;
}

void BM_BuildForm(benchmark::State &state)
{
    for (auto _ : state) {
        std::shared_ptr<automation::Application> app;
        auto doc = generator::buildRentalApplication(engine(), sample().widgets, app);
        benchmark::DoNotOptimize(doc);
        app->quit();
    }
}

void BM_SaveOpenRender(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    std::shared_ptr<automation::Application> app;
    auto doc = generator::buildRentalApplication(engine(), sample().widgets, app);
    const int part = static_cast<int>(state.range(0));
    doc->saveAs(path);
    auto reader = engine().createNew();
    for (auto _ : state) {
        if (part == 0) {
            doc->saveAs(path);
        } else if (part == 1) {
            auto opened = reader->documents()->open(path);
            opened->close(automation::wdDoNotSaveChanges);
        } else {
            auto opened = reader->documents()->open(path);
            state.PauseTiming();
            state.ResumeTiming();
            benchmark::DoNotOptimize(opened->range()->copyAsPicture());
            opened->close(automation::wdDoNotSaveChanges);
        }
    }
    reader->quit();
    app->quit();
}

void BM_AllFour(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    for (auto _ : state) {
        std::shared_ptr<automation::Application> app;
        auto doc = generator::buildRentalApplication(engine(), sample().widgets, app);
        doc->saveAs(path);
        doc->close(automation::wdDoNotSaveChanges);
        app->quit();
        auto viewer = engine().createNew();
        auto opened = viewer->documents()->open(path);
        benchmark::DoNotOptimize(opened->range()->copyAsPicture());
        opened->close(automation::wdDoNotSaveChanges);
        viewer->quit();
    }
}

// The page picture's trip through its file: writing it, reading it back with the image reader,
// and, as the floor for any uncompressed picture of that size, writing and reading the same
// number of bytes with nothing else done.
void BM_PagePictureFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = generator::pageImagePath(dir.path());
    std::shared_ptr<automation::Application> app;
    auto doc = generator::buildRentalApplication(engine(), sample().widgets, app);
    const QImage picture = doc->range()->copyAsPicture();
    app->quit();
    generator::writePageImage(picture, path);
    const qint64 bytes = QFileInfo(path).size();
    const int part = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (part == 0) {
            generator::writePageImage(picture, path);
        } else if (part == 1) {
            benchmark::DoNotOptimize(generator::loadPageImage(path));
        } else {
            QFile file(path);
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(QByteArray(bytes, '\0'));
            file.close();
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        }
    }
    state.counters["file_MB"] = double(bytes) / (1024 * 1024);
}

BENCHMARK(BM_BuildForm)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveOpenRender)->ArgName("save0_open1_openrender2")->Arg(0)->Arg(1)->Arg(2)
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AllFour)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PagePictureFile)->ArgName("write0_read1_bytesonly2")->Arg(0)->Arg(1)->Arg(2)
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
