#pragma once
// A document's printed pages with an AcroForm laid over them: a text field over the value area of
// each named cell and a radio group for each two-word choice. The record's own words live in the
// adapter (FillablePdf); this part knows only cells, names and values.
#include "pdfform/FormLayer.h"
#include "wordproc/model/DocumentModel.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace form {

// Where a field goes: the table cell (`block` is the table's index in the body) and how many
// characters of its first paragraph are the label; the field covers the rest of the cell.
struct CellRef {
    std::size_t block = 0;
    int row = 0;
    int cell = 0;
    int labelLength = 0;
};

struct TextFieldPlan {
    QString name; // the field's full name, which the import reads it back by
    CellRef at;
    QString value;
    QString section; // the heading above it, so that two "Name" fields are told apart when read out
};

struct ChoicePlan {
    QString name;
    CellRef at;
    QString firstWord;  // the options' export values, the same in every language
    QString secondWord;
    QString firstShown; // the words printed beside the buttons, in the form's language
    QString secondShown;
    QString value;      // one of the words, or empty for no option chosen
    QString section;
};

struct FormPlan {
    std::vector<TextFieldPlan> texts;
    std::vector<ChoicePlan> choices;
    QString languageTag = QStringLiteral("en-US");
};

// The document's pages as the PDF export draws them, with the plan's fields, which `layer` adds.
// The cells of choices lose whatever follows their label, since the buttons show the words. Throws
// base::Failure when a planned cell is not in the document or the PDF cannot be produced.
QByteArray fillablePdf(const pdfform::FormLayer &layer, wordproc::Document document, const FormPlan &plan, const QString &title);

} // namespace form
