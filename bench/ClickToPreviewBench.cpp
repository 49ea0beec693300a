// The whole "Start Creating Template" path on the sample record: building the form through the
// built-in engine, saving the temporary document, reopening it in a second instance, rendering
// its page, writing and reading the page image, and loading it into the preview window.
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/RentalApplication.h"
#include "preview/PreviewWindow.h"
#include "runtime/ErrorTrap.h"
#include "runtime/FileUtils.h"
#include "wordproc/engine/BuiltinEngine.h"

#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

class PreviewHost final : public generator::GenerationHost {
public:
    PreviewHost()
    {
        runtime::ErrorTrap trap(QStringLiteral("bench"), QStringLiteral("sample"));
        entry::loadSampleData(m_record, trap);
        m_preview.ensureLoaded();
    }
    const entry::RecordWidgets &record() const override { return m_record; }
    void setMainPointerDefault() override {}
    void handOverResult(const generator::GenerationResult &result) override
    {
        if (result.picture)
            m_preview.handOver(*result.picture, m_preview.wordFile());
        m_preview.setWordFile(result.wordFile);
    }
    void showPreview() override {}
    void hideMain() override {}
    QString wordFile() const { return m_preview.wordFile(); }

private:
    QWidget m_owner;
    entry::RecordWidgets m_record = entry::createRecordControls(&m_owner);
    preview::PreviewWindow m_preview;
};

void BM_ClickToPreview(benchmark::State &state)
{
    QTemporaryDir temp;
    wordproc::BuiltinApplicationFactory engine(temp.filePath(QStringLiteral("engine.lock")));
    PreviewHost host;
    const generator::GenerationOptions options{temp.path(), {}};
    for (auto _ : state) {
        generator::generateRentalApplication(engine, host, options);
        state.PauseTiming();
        runtime::deleteFileQuietly(host.wordFile()); // what "< Back" does between two runs
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClickToPreview)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
