#include "HeadlessRun.h"

#include "record/RecordValues.h"
#include "PagePng.h"
#include "preview/DocumentCopy.h"
#include "preview/DocumentPages.h"
#include "wordproc/layout/PrintedPages.h"
#include "generator/RentalApplication.h"
#include "automation/WordAutomation.h"
#include "base/Failure.h"
#include "shell/AppError.h"
#include "base/PrivateFile.h"
#include "shell/MessageBoxes.h"
#include "record/SettingsStore.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"
#include "wordproc/editing/Editor.h"
#include "wordproc/layout/PageRenderer.h"
#include "pdfform/LinkedFormLayer.h"
#include "pdfform/RecordForm.h"
#include "record/ApplicantFile.h"

#include <QImage>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace tools {

// Drawn in bands on this thread while a second thread encodes the bands already drawn: the two
// halves of the work take about as long as each other and run side by side on two cores. Two
// band images take turns, so the 9 MB picture is never held whole.
QByteArray pagePngOf(const wordproc::Document &document)
{
    constexpr int kBandRows = 64;
    constexpr int kBuffers = 2;
    const wordproc::ContentPicture picture(document);
    const QSize size = picture.size();
    PagePngEncoder encoder(size, picture.dotsPerMeter(), picture.dotsPerMeter());
    const int bands = (size.height() + kBandRows - 1) / kBandRows;
    // Each its own pixels: copies of one image would share them until the first was drawn into.
    std::vector<QImage> buffers;
    for (int i = 0; i < kBuffers; ++i)
        buffers.emplace_back(size.width(), std::min(kBandRows, size.height()), QImage::Format_RGB32);

    std::mutex mutex;
    std::condition_variable progress;
    int drawnBands = 0;
    int encodedBands = 0;
    bool abandoned = false;
    std::exception_ptr encodeFailure;

    std::thread encoding([&] {
        try {
            for (int band = 0; band < bands; ++band) {
                {
                    std::unique_lock lock(mutex);
                    progress.wait(lock, [&] { return drawnBands > band || abandoned; });
                    if (drawnBands <= band)
                        return;
                }
                const int rows = std::min(kBandRows, size.height() - band * kBandRows);
                encoder.addRows(buffers[band % kBuffers], 0, rows);
                {
                    const std::lock_guard lock(mutex);
                    encodedBands = band + 1;
                }
                progress.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            encodeFailure = std::current_exception();
            abandoned = true;
            progress.notify_all();
        }
    });
    auto finishEncoding = [&](bool abandon) {
        if (abandon) {
            const std::lock_guard lock(mutex);
            abandoned = true;
        }
        progress.notify_all();
        encoding.join();
    };
    try {
        for (int band = 0; band < bands; ++band) {
            {
                // The band's image is free once the band drawn into it before has been encoded.
                std::unique_lock lock(mutex);
                progress.wait(lock, [&] { return encodedBands >= band - kBuffers + 1 || abandoned; });
                if (abandoned)
                    break;
            }
            QImage &buffer = buffers[band % kBuffers];
            const int rows = std::min(kBandRows, size.height() - band * kBandRows);
            if (buffer.height() != rows)
                buffer = QImage(size.width(), rows, QImage::Format_RGB32); // the last, shorter band
            picture.draw(buffer, band * kBandRows);
            {
                const std::lock_guard lock(mutex);
                drawnBands = band + 1;
            }
            progress.notify_all();
        }
    } catch (...) {
        finishEncoding(true);
        throw;
    }
    finishEncoding(false);
    if (encodeFailure)
        std::rethrow_exception(encodeFailure);
    return encoder.finish();
}

namespace {

record::RecordSnapshot recordOf(const RecordSource &source)
{
    if (source.sample)
        return record::RecordSnapshot::sample();
    record::SettingsStore store(source.settingsFile.isEmpty() ? record::SettingsStore::userStorePath()
                                                             : source.settingsFile);
    return record::RecordSnapshot::fromStore(store);
}

} // namespace

QStringList writeFillablePdf(const RecordSource &source, bool blank, const QString &pdfPath)
{
    QStringList problems;
    shell::CollectingMessageBoxes boxes(problems);
    shell::ScopedMessageBoxes scope(boxes);
    try {
        if (blank) {
            pdfform::exportFillable(pdfform::linkedFormLayer(), nullptr, pdfPath);
        } else {
            const record::RecordSnapshot record = recordOf(source);
            if (problems.isEmpty())
                pdfform::exportFillable(pdfform::linkedFormLayer(), &record, pdfPath);
        }
    } catch (const base::Failure &e) {
        problems << e.description();
    }
    return problems;
}

ImportRun importFilledPdf(const QString &pdfPath, const QString &recordPath)
{
    ImportRun run;
    try {
        const pdfform::ImportResult imported = pdfform::importFilled(pdfform::linkedFormLayer(), pdfPath);
        run.taken = imported.taken;
        for (const pdfform::RefusedField &refused : imported.refused)
            run.refused << refused.name + QStringLiteral(": ") + refused.reason;
        // The record file is written as an applicant file is: owner-only, never over a file that
        // could not be read, its other sections kept byte for byte.
        record::writeApplicantFile(recordPath, pdfform::recordSettings(imported));
    } catch (const base::Failure &e) {
        run.problems << e.description();
    }
    return run;
}

RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath,
                          const QString &pdfPath, const std::function<void()> &beforeFonts)
{
    RenderResult result;
    shell::CollectingMessageBoxes boxes(result.problems);
    shell::ScopedMessageBoxes scope(boxes);

    // Plain values, not the window's controls: a headless run needs no widget machinery.
    record::RecordSnapshot record;
    try {
        if (source.sample) {
            record = record::RecordSnapshot::sample();
        } else {
            record::SettingsStore store(source.settingsFile.isEmpty() ? record::SettingsStore::userStorePath()
                                                                     : source.settingsFile);
            record = record::RecordSnapshot::fromStore(store);
        }
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }

    // The steps of a generation run without its temporary files: the document is built, written
    // once, and its page drawn from the very bytes written, as a second instance opening it would.
    wordproc::BuiltinApplicationFactory engine;
    std::shared_ptr<automation::Application> app;
    const std::shared_ptr<automation::Document> doc = generator::buildRentalApplication(engine, record, app);
    QByteArray bytes;
    try {
        if (!doc)
            throw shell::AppError(QStringLiteral("The form could not be built."));
        bytes = wordproc::encodeDoc(wordproc::builtinEditor(*doc).document());
        if (!docPath.isEmpty())
            base::writeFilePrivately(docPath, bytes);
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    if (app)
        app->quit();
    if (bytes.isEmpty()) {
        result.problems << QStringLiteral("No document was generated.");
        return result;
    }
    if (beforeFonts && (!pdfPath.isEmpty() || !imagePath.isEmpty()))
        beforeFonts();
    try {
        if (!pdfPath.isEmpty())
            preview::saveReplacing(wordproc::pdfOf(wordproc::decodeDoc(bytes), preview::pdfTitle()), pdfPath);
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    if (imagePath.isEmpty())
        return result; // the document alone never starts the painter
    try {
        base::writeFilePrivately(imagePath, pagePngOf(wordproc::decodeDoc(bytes)));
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    return result;
}

} // namespace tools
