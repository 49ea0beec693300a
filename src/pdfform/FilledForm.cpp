#include "FilledForm.h"

#include "FormLayer.h"

#include "base/Failure.h"

namespace pdfform {

FilledValues readFilledForm(const FormLayer &layer, const QByteArray &bytes, const ExpectedFields &expected)
{
    if (bytes.size() > kMaxPdfBytes)
        throw base::Failure(QStringLiteral("The PDF is too large (more than %1 MB) to be a filled form.")
                                .arg(kMaxPdfBytes / (1024 * 1024)));
    if (!bytes.startsWith("%PDF-") && !bytes.left(1024).contains("%PDF-"))
        throw base::Failure(QStringLiteral("The file is not a PDF."));
    FilledValues result;
    QString error;
    if (!layer.readFields(bytes, expected, result, error))
        throw base::Failure(error);
    return result;
}

} // namespace pdfform
