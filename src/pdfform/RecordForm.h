#pragma once
// The record's fillable PDF and its import: the record catalogue's fields placed over the form
// the generator builds, named by their settings keys. What the window and tenvoria-render call.
#include "FilledForm.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace record {
class RecordValues;
}

namespace pdfform {

struct FormLayer;

// Each function takes the layer that adds or reads the form's fields: the program's loaded
// module (FormLayerModule.h) or the linked one (LinkedFormLayer.h).

// The form's pages with a text field over the value area of every text field the form shows and
// a radio group for every choice. `record` null gives blank fields and no option chosen;
// otherwise the fields hold the record's values. Throws base::Failure.
QByteArray fillableFormOf(const FormLayer &layer, const record::RecordValues *record);

// Writes fillableFormOf(record) to `target` owner-only, through the checked replacement (the old
// file stays whole when anything fails). Throws base::Failure (base::WriteFailure for the write).
void exportFillable(const FormLayer &layer, const record::RecordValues *record, const QString &target);

struct ImportResult {
    QMap<QString, QString> values;     // by settings key; a choice holds its option's word
    QStringList taken;                 // the settings keys taken, in the file's order
    std::vector<RefusedField> refused; // each field that could not be taken, and why
};

// The values of a filled copy of our fillable PDF. A file that cannot be read, is not one of our
// forms, is encrypted or damaged throws base::Failure with the reason; the path is the caller's
// to add.
ImportResult importFilled(const FormLayer &layer, const QString &path);
ImportResult importFilledBytes(const FormLayer &layer, const QByteArray &pdf);

// The record an import gives as the store's [Tenvoria] section holds it, every key of a field the
// form shows present: what was not taken is empty, a choice not taken is on its first option. The
// hidden reference rows are absent, so that whatever takes the record keeps its own.
QMap<QString, QString> recordSettings(const ImportResult &imported);

} // namespace pdfform
