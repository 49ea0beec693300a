#pragma once
// Reading the values back from a filled copy of one of our fillable forms, by field name. The
// reading never trusts the file: anything that is not one of our forms, encrypted or damaged is
// refused with base::Failure, and each field that cannot be taken is reported with its reason.
#include "pdfform/FormLayer.h"

#include <QByteArray>
#include <QString>

namespace form {

// `layer` reads the fields (pdfform/FormLayer.h).
pdfform::FilledValues readFilledForm(const pdfform::FormLayer &layer, const QByteArray &pdf,
                                     const pdfform::ExpectedFields &expected);
// The same for the file at `path`, read without waiting and only when a regular file within the
// size limit; the path is the caller's to add to the failure.
pdfform::FilledValues readFilledFormFile(const pdfform::FormLayer &layer, const QString &path,
                                         const pdfform::ExpectedFields &expected);

} // namespace form
