// The preview's three ways out, through the whole program as main() wires it (the built-in
// engine, the generator, both windows, offscreen): "Start Creating Template" until the preview
// shows its page, printing (the printer's set-up and the pages, to a PDF printer), and saving the
// page as a PDF. Each takes the form document from wherever the program holds it, so these
// figures move with how often the document is read and decoded.
#include "app/EngineSetup.h"
#include "app/Program.h"
#include "preview/PrintJob.h"
#include "preview/SaveFileDialog.h"
#include "record/SettingsStore.h"
#include "runtime/MessageBoxes.h"
#include "preview/PreviewWindow.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

class PdfPrinterDialog final : public preview::PrintDialog {
public:
    QString target;
    bool ask(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        return true;
    }
};

class AnsweringSaveDialog final : public preview::SaveFileDialog {
public:
    QString answer;
    QString askSavePath(QWidget *, const preview::SaveFileRequest &) override { return answer; }
    QString chosenFilter() const override { return QStringLiteral("PDF Files (*.pdf)"); }
};

void click(QWidget *window, const char *name)
{
    if (auto *button = window->findChild<QPushButton *>(QLatin1String(name)))
        button->click();
    QApplication::processEvents();
}

preview::PreviewWindow *shownPreview()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *preview = qobject_cast<preview::PreviewWindow *>(window); preview && preview->isVisible())
            return preview;
    return nullptr;
}

// The program started on a private store with the sample record loaded.
struct Running {
    QTemporaryDir temp;
    QStringList said;
    runtime::CollectingMessageBoxes boxes{said};
    runtime::ScopedMessageBoxes scope{boxes};
    record::SettingsStore store{temp.filePath(QStringLiteral("store.conf"))};
    std::unique_ptr<app::Program> program;

    Running()
    {
        program = std::make_unique<app::Program>(store, app::engineFactory(), generator::GenerationOptions{temp.path(), {}});
        program->start();
        click(&program->mainWindow(), "PushButton3"); // the sample
    }
    preview::PreviewWindow *startCreating()
    {
        click(&program->mainWindow(), "PushButton1");
        return shownPreview();
    }
};

void BM_ClickToPreview(benchmark::State &state)
{
    Running run;
    for (auto _ : state) {
        preview::PreviewWindow *preview = run.startCreating();
        if (!preview) {
            state.SkipWithError("no preview");
            break;
        }
        state.PauseTiming();
        click(preview, "PushButton8"); // back, which deletes the document
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClickToPreview)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Print(benchmark::State &state)
{
    Running run;
    preview::PreviewWindow *preview = run.startCreating();
    PdfPrinterDialog dialog;
    dialog.target = run.temp.filePath(QStringLiteral("printed.pdf"));
    preview->setPrintDialog(&dialog);
    for (auto _ : state)
        preview->printPages();
    if (!QFile::exists(dialog.target))
        state.SkipWithError("nothing printed");
}
BENCHMARK(BM_Print)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SavePdf(benchmark::State &state)
{
    Running run;
    preview::PreviewWindow *preview = run.startCreating();
    AnsweringSaveDialog dialog;
    dialog.answer = run.temp.filePath(QStringLiteral("saved.pdf"));
    preview->setSaveFileDialog(&dialog);
    for (auto _ : state) {
        click(preview, "PushButton6");
        state.PauseTiming();
        QFile::remove(dialog.answer); // no overwrite question in the next round
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SavePdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
