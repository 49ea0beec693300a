#include "HeadlessRun.h"

#include "record/RecordValues.h"
#include "PagePng.h"
#include "form/DocumentCopy.h"
#include "base/Failure.h"
#include "runtime/AppError.h"
#include "base/PrivateFile.h"
#include "base/SafeWrite.h"
#include "runtime/MessageBoxes.h"
#include "record/SettingsStore.h"
#include "wordproc/layout/PageRenderer.h"
#include "form/FormLayerModule.h"
#include "form/FillablePdf.h"
#include "form/FormDocument.h"
#include "record/ApplicantFile.h"
#include "compare/ComparisonSettings.h"
#include "decision/DecisionRows.h"
#include "base/ReadAll.h"

#include <sodium.h>

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QImage>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace tools {

namespace {

// The fillable PDF's layer, from the module the build made beside the program.
const pdfform::FormLayer &formLayer() { return form::loadFormLayer(QStringLiteral(TENVORIA_PDFFORM_MODULE)); }

// The page's PNG as a device that a reader on a second thread pulls from, while this thread
// draws the picture in bands: each read encodes the bands drawn since, so drawing and encoding
// (about equal halves of the work) run side by side on two cores, and the file's bytes leave as
// they are made. Two band images take turns, so neither the picture nor its PNG is ever held
// whole (a long record's picture is 170 MB of pixels, its PNG tens of MB).
class BandedPng final : public QIODevice {
public:
    static constexpr int kBandRows = 128;
    static constexpr int kBuffers = 2;

    explicit BandedPng(const wordproc::ContentPicture &picture)
        : m_size(picture.size()), m_bands((m_size.height() + kBandRows - 1) / kBandRows),
          m_encoder(m_size, picture.dotsPerMeter(), picture.dotsPerMeter()), m_pending(m_encoder.takeBytes())
    {
        // Each its own pixels: copies of one image would share them until the first was drawn into.
        for (int i = 0; i < kBuffers; ++i)
            m_buffers.emplace_back(m_size.width(), std::min(kBandRows, m_size.height()), QImage::Format_RGB32);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }

    // Draws every band on the calling thread, each once the image it goes into is free again.
    // Stops early when the reader gave up; throws what drawing threw.
    void drawAll(const wordproc::ContentPicture &picture)
    {
        try {
            for (int band = 0; band < m_bands; ++band) {
                {
                    std::unique_lock lock(m_mutex);
                    m_progress.wait(lock, [&] { return m_encodedBands >= band - kBuffers + 1 || m_abandoned; });
                    if (m_abandoned)
                        return;
                }
                QImage &buffer = m_buffers[band % kBuffers];
                const int rows = rowsOf(band);
                if (buffer.height() != rows)
                    buffer = QImage(m_size.width(), rows, QImage::Format_RGB32); // the last, shorter band
                picture.draw(buffer, band * kBandRows);
                {
                    const std::lock_guard lock(m_mutex);
                    m_drawnBands = band + 1;
                }
                m_progress.notify_all();
            }
        } catch (...) {
            abandon();
            throw;
        }
    }

    // Tells the reader that no more bands will come, and why not when it asks.
    void abandon()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_abandoned = true;
        }
        m_progress.notify_all();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        try {
            while (m_taken == m_pending.size()) {
                if (m_encodedBands == m_bands)
                    return 0;
                encodeNextBand();
            }
        } catch (const base::Failure &e) {
            setErrorString(e.description());
            abandon();
            return -1;
        }
        const qint64 count = std::min<qint64>(maxSize, m_pending.size() - m_taken);
        std::memcpy(data, m_pending.constData() + m_taken, std::size_t(count));
        m_taken += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    int rowsOf(int band) const { return std::min(kBandRows, m_size.height() - band * kBandRows); }

    void encodeNextBand()
    {
        const int band = m_encodedBands;
        {
            std::unique_lock lock(m_mutex);
            m_progress.wait(lock, [&] { return m_drawnBands > band || m_abandoned; });
            if (m_drawnBands <= band)
                throw runtime::AppError(QStringLiteral("The page picture was not drawn."));
        }
        m_encoder.addRows(m_buffers[band % kBuffers], 0, rowsOf(band));
        {
            const std::lock_guard lock(m_mutex);
            m_encodedBands = band + 1;
        }
        m_progress.notify_all();
        m_pending = m_encodedBands == m_bands ? m_encoder.finish() : m_encoder.takeBytes();
        m_taken = 0;
    }

    const QSize m_size;
    const int m_bands;
    PagePngEncoder m_encoder;   // the reader's alone
    QByteArray m_pending;       // encoded bytes not yet read
    qint64 m_taken = 0;
    std::vector<QImage> m_buffers;

    std::mutex m_mutex;
    std::condition_variable m_progress;
    int m_drawnBands = 0;
    int m_encodedBands = 0;     // written by the reader only
    bool m_abandoned = false;
};

// Runs `read` on a second thread over the page's PNG while this thread draws it.
void withPagePng(const wordproc::Document &document, const std::function<void(QIODevice &)> &read)
{
    const wordproc::ContentPicture picture(document);
    BandedPng png(picture);
    std::exception_ptr readFailure;
    std::thread reader([&] {
        try {
            read(png);
        } catch (...) {
            readFailure = std::current_exception();
        }
        png.abandon(); // a reader that stopped early frees the drawing
    });
    try {
        png.drawAll(picture);
    } catch (...) {
        reader.join();
        throw; // drawing's own failure says more than the reader's "could not read"
    }
    reader.join();
    if (readFailure)
        std::rethrow_exception(readFailure);
}

} // namespace

QByteArray pagePngOf(const wordproc::Document &document)
{
    QByteArray png;
    withPagePng(document, [&png](QIODevice &device) {
        char chunk[1 << 16];
        for (qint64 got; (got = device.read(chunk, sizeof chunk)) != 0;) {
            if (got < 0)
                throw runtime::AppError(device.errorString());
            png.append(chunk, got);
        }
    });
    return png;
}

void writePagePng(const wordproc::Document &document, const QString &path)
{
    // As base::writeFilePrivately writes: owner-only, synced, and renamed over the path only
    // once complete, so a failure midway leaves whatever was there.
    withPagePng(document, [&path](QIODevice &device) { base::replaceFile(path, device, -1); });
}

namespace {

// The record of the source, read as the window opens an applicant file: a file that is not one
// (random bytes, a locked file damaged or cut short, a FIFO) is refused with the reason, never
// taken for a blank record.
record::RecordSnapshot recordOfSource(const RecordSource &source)
{
    if (source.sample)
        return record::RecordSnapshot::sample();
    const QString path = source.settingsFile.isEmpty() ? record::SettingsStore::userStorePath() : source.settingsFile;
    // The current user's store before anything was typed is the blank record; a file named on the
    // command line must be there: a blank form in its place would look like success.
    const QFileInfo info(path);
    if (source.settingsFile.isEmpty() && !info.exists() && !info.isSymLink())
        return record::RecordSnapshot::fromSettings({});
    try {
        const QMap<QString, QString> values = record::readApplicantFile(path);
        if (source.settingsFile.isEmpty()) {
            // The program keeps a locked applicant's entries out of the store: a blank form would look
            // like theirs.
            record::SettingsStore store(path);
            if (const QString locked = store.read(QLatin1String(record::kLockedApplicantNoteKey)); !locked.isEmpty())
                throw base::Failure(QStringLiteral("The program has the locked applicant %1 open, and keeps its entries "
                                                   "out of the settings file: give it with --settings %1 --passphrase-file "
                                                   "FILE.")
                                        .arg(locked));
        }
        return record::RecordSnapshot::fromSettings(values);
    } catch (const record::UnlockFailure &failure) {
        if (failure.kind() != record::UnlockFailure::Kind::NeedsPassphrase)
            throw;
    }
    // A locked file opens with the passphrase from its file, never from the command line.
    if (!source.passphrase)
        throw base::Failure(QStringLiteral("%1 is locked: give its passphrase with --passphrase-file FILE (or - for "
                                           "standard input).")
                                .arg(path));
    return record::RecordSnapshot::fromSettings(record::readApplicantFile(path, &source.passphrase->passphrase()));
}

record::RecordSnapshot recordOf(const RecordSource &source)
{
    record::RecordSnapshot record = recordOfSource(source);
    if (source.language)
        record.setFormLanguage(*source.language);
    return record;
}

} // namespace

QString readPassphrase(const QString &file)
{
    constexpr qint64 kLongest = 64 * 1024;
    QByteArray bytes;
    if (file == QStringLiteral("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            throw base::Failure(QStringLiteral("The passphrase could not be read from standard input."));
        bytes = in.read(kLongest + 1);
        if (bytes.size() > kLongest)
            throw base::Failure(QStringLiteral("The passphrase on standard input is longer than %1 KB.").arg(kLongest / 1024));
    } else {
        base::FileReading reading = base::readRegularFile(file, kLongest);
        if (reading.error != 0)
            throw base::Failure(QStringLiteral("The passphrase file %1 cannot be read: %2 (use - to give it on standard "
                                               "input).")
                                    .arg(file, base::readingFailureReason(reading.error, kLongest)));
        bytes = std::move(reading.bytes);
    }
    // One line end, as an editor or `echo` leaves it, is not part of the passphrase.
    if (bytes.endsWith('\n'))
        bytes.chop(bytes.endsWith("\r\n") ? 2 : 1);
    const QString passphrase = QString::fromUtf8(bytes);
    sodium_memzero(bytes.data(), std::size_t(bytes.size()));
    if (passphrase.isEmpty())
        throw base::Failure(QStringLiteral("The passphrase given is empty."));
    return passphrase;
}

const record::Passphrase &PassphraseFile::passphrase()
{
    if (!m_held)
        m_held.emplace(readPassphrase(m_file));
    return *m_held;
}

QStringList compareApplicants(const QString &folder, const compare::Terms &terms, const QString &pdfPath,
                              const QString &csvPath)
{
    QStringList problems;
    QList<compare::ApplicantRow> rows;
    try {
        // With each file's decision and keep-until day, as the Applicants window lists and exports them.
        rows = decision::listWithDecisions(folder, decision::retentionOf(compare::ComparisonSettings(), folder));
    } catch (const base::Failure &e) {
        return {e.description()};
    }
    const auto write = [&](const QString &path, const QByteArray &bytes) {
        try {
            compare::writeComparison(path, bytes);
        } catch (const base::Failure &e) {
            problems << e.description();
        }
    };
    if (!pdfPath.isEmpty())
        write(pdfPath, compare::comparisonPdf(rows, terms, QFileInfo(folder).absoluteFilePath()));
    if (!csvPath.isEmpty())
        write(csvPath, compare::comparisonCsv(rows, terms));
    return problems;
}

QStringList saveApplicant(const RecordSource &source, const QString &applicantPath)
{
    QStringList problems;
    runtime::CollectingMessageBoxes boxes(problems);
    runtime::ScopedMessageBoxes scope(boxes);
    try {
        // One passphrase opens a locked source and locks what is written.
        const record::RecordSnapshot snapshot = recordOf(source);
        record::writeApplicantFile(applicantPath, record::settingsOf(snapshot),
                                   source.passphrase ? &source.passphrase->passphrase() : nullptr);
    } catch (const base::Failure &e) {
        problems << e.description();
    }
    return problems;
}

QStringList writeFillablePdf(const RecordSource &source, bool blank, const QString &pdfPath)
{
    QStringList problems;
    runtime::CollectingMessageBoxes boxes(problems);
    runtime::ScopedMessageBoxes scope(boxes);
    try {
        if (blank) {
            form::exportFillable(formLayer(), nullptr, pdfPath, source.language);
        } else {
            const record::RecordSnapshot record = recordOf(source);
            if (problems.isEmpty())
                form::exportFillable(formLayer(), &record, pdfPath);
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
        run.imported = form::importFilled(formLayer(), pdfPath);
        // The record file is written as an applicant file is: owner-only, never over a file that
        // could not be read, its other sections kept byte for byte.
        record::writeApplicantFile(recordPath, record::recordOfImport(run.imported.values));
    } catch (const base::Failure &e) {
        run.problems << e.description();
    }
    return run;
}

RenderResult renderRecord(const RecordSource &source, const QString &docPath, const QString &imagePath,
                          const QString &pdfPath, const std::function<void()> &beforeFonts)
{
    RenderResult result;
    runtime::CollectingMessageBoxes boxes(result.problems);
    runtime::ScopedMessageBoxes scope(boxes);

    // Plain values, not the window's controls: a headless run needs no widget machinery.
    record::RecordSnapshot record;
    try {
        record = recordOf(source);
    } catch (const base::Failure &e) {
        result.problems << e.description();
        return result; // no form of a record that was not read
    }

    // The form document, built once: its bytes are the .doc, and the PDF and the page are drawn
    // from their one decoding, as the window's preview draws what the engine read back.
    std::optional<form::FormDocument> document;
    try {
        document = form::build(record);
        if (!docPath.isEmpty())
            base::writeFilePrivately(docPath, document->docBytes());
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    if (!document) {
        result.problems << QStringLiteral("No document was generated.");
        return result;
    }
    if (beforeFonts && (!pdfPath.isEmpty() || !imagePath.isEmpty()))
        beforeFonts();
    try {
        if (!pdfPath.isEmpty())
            form::saveReplacing(document->pdf(), pdfPath);
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    if (imagePath.isEmpty())
        return result; // the document alone never starts the painter
    try {
        writePagePng(document->document(), imagePath);
    } catch (const base::Failure &e) {
        result.problems << e.description();
    }
    return result;
}

} // namespace tools
