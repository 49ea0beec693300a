// The form as PDF: how long writing it takes from the saved .doc (read back, laid out, drawn
// as vector pages, written durably), and how long painting a viewport of the page enlarged four
// times on a screen of device pixel ratio 2 takes, against scaling the whole page once.
#include "app/FormPages.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/RentalApplication.h"
#include "automation/WordAutomation.h"
#include "form/DocumentCopy.h"
#include "preview/PagePicture.h"
#include "runtime/ErrorTrap.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/layout/PageRenderer.h"

#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// The form of the sample record (0) or of a record whose every field holds a few hundred words
// (1, six pages), saved as .doc once.
QString formDocument(int record)
{
    static QString paths[2];
    if (!paths[record].isEmpty())
        return paths[record];
    QWidget owner;
    const entry::RecordWidgets widgets = entry::createRecordControls(&owner);
    runtime::ErrorTrap trap(QStringLiteral("bench"), QStringLiteral("record"));
    if (record == 0) {
        entry::loadSampleData(widgets, trap);
    } else {
        const QString words = QStringLiteral("lorem ipsum dolor sit amet consectetur adipiscing elit ");
        for (const record::TextFieldSpec &field : record::textFields())
            widgets.text(QLatin1String(field.id))->setText(words.repeated(10));
    }
    wordproc::BuiltinApplicationFactory engine(scratch().filePath(QStringLiteral("engine.lock")));
    std::shared_ptr<automation::Application> app;
    auto doc = generator::buildRentalApplication(engine, widgets, app);
    paths[record] = scratch().filePath(QStringLiteral("form%1.doc").arg(record));
    doc->saveAs(paths[record]);
    app->quit();
    return paths[record];
}

void BM_WritePdf(benchmark::State &state)
{
    const QString doc = formDocument(int(state.range(0)));
    const QString target = scratch().filePath(QStringLiteral("form.pdf"));
    app::FormPages pages;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = pages.pdf(doc);
        form::saveReplacing(pdf, target);
        bytes = pdf.size();
    }
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_WritePdf)->Arg(0)->Arg(1)->ArgName("long")->Unit(benchmark::kMillisecond);

// The sample form's page picture at four times on a device pixel ratio of 2.
struct EnlargedPage {
    QImage picture = wordproc::renderContent(wordproc::readDoc(formDocument(0)));
    QSize widgetSize = picture.size() * 2; // 192 dpi picture: 2 px per 96-dpi pixel at 100 %, 8 at 400 %
    EnlargedPage() { widgetSize = picture.size() * 2; }
};

void BM_PaintEnlargedViewport(benchmark::State &state)
{
    static EnlargedPage page;
    preview::PagePicture box;
    box.setPicture(page.picture);
    box.resize(page.widgetSize);
    QImage screen(QSize(620, 495) * 2, QImage::Format_RGB32); // the preview's viewport
    screen.setDevicePixelRatio(2);
    int y = 0;
    for (auto _ : state) {
        // Scrolling: each paint shows another part of the page.
        y = (y + 137) % (page.widgetSize.height() - 495);
        box.render(&screen, QPoint(), QRegion(0, y, 620, 495));
        benchmark::DoNotOptimize(screen.bits());
    }
    state.counters["held_scaled_bytes"] = double(box.heldScaledCopy().sizeInBytes());
}
BENCHMARK(BM_PaintEnlargedViewport)->Unit(benchmark::kMillisecond);

// What showing the enlarged page cost when the whole page was scaled and kept.
void BM_ScaleWholeEnlargedPage(benchmark::State &state)
{
    static EnlargedPage page;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QImage scaled = page.picture.scaled(page.widgetSize * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        bytes = scaled.sizeInBytes();
        benchmark::DoNotOptimize(scaled.constBits());
    }
    state.counters["scaled_bytes"] = double(bytes);
}
BENCHMARK(BM_ScaleWholeEnlargedPage)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
