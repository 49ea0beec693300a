#pragma once
// The record's fillable PDF and its import: the record catalogue's fields placed over the form
// document, named by their settings keys. What the window and tenvoria-render call.
#include "form/FilledForm.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include "record/FormLanguage.h"

#include <optional>
#include <vector>

namespace record {
class RecordValues;
}

namespace pdfform {
struct FormLayer;
}

namespace form {

// Each function takes the layer that adds or reads the form's fields: the program's loaded
// module (FormLayerModule.h) or the linked one (LinkedFormLayer.h).

// The form's pages with a text field over the value area of every text field the form shows and
// a radio group for every choice. `record` null gives blank fields and no option chosen;
// otherwise the fields hold the record's values. The labels, the choices' words, the title and the
// PDF's language are those of `language`, else of the record's form, else English; the fields'
// names and the choices' export values are the same in every language, so any copy imports alike.
// Throws base::Failure.
QByteArray fillableFormOf(const pdfform::FormLayer &layer, const record::RecordValues *record,
                          std::optional<record::FormLanguage> language = std::nullopt);

// Writes fillableFormOf(record) to `target` owner-only, through the checked replacement (the old
// file stays whole when anything fails). Throws base::Failure (base::WriteFailure for the write).
void exportFillable(const pdfform::FormLayer &layer, const record::RecordValues *record, const QString &target,
                    std::optional<record::FormLanguage> language = std::nullopt);

// The values of a filled copy of our fillable PDF, by settings key, with the keys taken and the
// fields refused: the one import result, from here to the window (record::recordOfImport makes the
// values a record). A file that cannot be read, is not one of our forms, is encrypted or damaged
// throws base::Failure with the reason; the path is the caller's to add.
pdfform::FilledValues importFilled(const pdfform::FormLayer &layer, const QString &path);
pdfform::FilledValues importFilledBytes(const pdfform::FormLayer &layer, const QByteArray &pdf);

} // namespace form
