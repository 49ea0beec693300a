#include "FilledForm.h"

#include "pdfform/FormLayer.h"

#include "base/Failure.h"
#include "base/ReadAll.h"

#include <cerrno>

namespace form {
using namespace pdfform;


namespace {
[[noreturn]] void refuseLargePdf()
{
    throw base::Failure(QStringLiteral("The PDF is too large (more than %1 MB) to be a filled form.")
                            .arg(kMaxPdfBytes / (1024 * 1024)));
}
} // namespace

FilledValues readFilledForm(const FormLayer &layer, const QByteArray &bytes, const ExpectedFields &expected)
{
    if (bytes.size() > kMaxPdfBytes)
        refuseLargePdf();
    if (!bytes.startsWith("%PDF-") && !bytes.left(1024).contains("%PDF-"))
        throw base::Failure(QStringLiteral("The file is not a PDF."));
    FilledValues result;
    QString error;
    if (!layer.readFields(bytes, expected, result, error))
        throw base::Failure(error);
    return result;
}

FilledValues readFilledFormFile(const FormLayer &layer, const QString &path, const ExpectedFields &expected)
{
    base::FileReading reading = base::readRegularFile(path, kMaxPdfBytes);
    if (reading.error == EFBIG)
        refuseLargePdf();
    if (reading.error != 0)
        throw base::Failure(QStringLiteral("The file could not be %1: %2.")
                                .arg(reading.error == base::kNotRegularFile ? QStringLiteral("read") : QStringLiteral("opened"),
                                     base::readingFailureReason(reading.error, kMaxPdfBytes)));
    return readFilledForm(layer, reading.bytes, expected);
}

} // namespace form
