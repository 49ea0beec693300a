#pragma once
// Reading the values back from a filled copy of one of our fillable forms, by field name. The
// reading never trusts the file: anything that is not one of our forms, encrypted or damaged is
// refused with base::Failure, and each field that cannot be taken is reported with its reason.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace pdfform {

struct FormLayer;

struct ExpectedChoice {
    QString name;
    QStringList words; // the export values an option may have
};

struct ExpectedFields {
    QStringList texts;
    std::vector<ExpectedChoice> choices;
};

struct RefusedField {
    QString name;   // as the file names it
    QString reason; // a sentence for the person importing
};

struct FilledValues {
    QMap<QString, QString> values; // by field name
    QStringList taken;             // the names of `values`, in the file's order
    std::vector<RefusedField> refused;
};

// A value longer than this (UTF-16 units, as many as a line edit of the window takes) is refused.
inline constexpr int kMaxValueLength = 32767;
// A larger file is refused before it is parsed: our form is about 100 KB.
inline constexpr qsizetype kMaxPdfBytes = 64 * 1024 * 1024;

// `layer` reads the fields (FormLayer.h).
FilledValues readFilledForm(const FormLayer &layer, const QByteArray &pdf, const ExpectedFields &expected);

} // namespace pdfform
