// The one place where the fillable PDF meets the record catalogue and the form's rows.
#include "FillablePdf.h"

#include "base/ReadAll.h"

#include "FieldPlan.h"
#include "FilledForm.h"

#include "FormDocument.h"
#include "record/RecordCatalogue.h"
#include "record/RecordValues.h"
#include "generator/FormLayout.h"
#include "generator/FormWording.h"

#include "base/Failure.h"
#include "base/SafeWrite.h"

#include <QFile>

#include <cerrno>

namespace form {
using namespace pdfform;

namespace {

const record::ChoiceSpec *choiceOfOption(const char *optionId)
{
    for (const record::ChoiceSpec &choice : record::choices())
        if (qstrcmp(choice.firstId, optionId) == 0 || qstrcmp(choice.secondId, optionId) == 0)
            return &choice;
    return nullptr;
}


// The plan of the form's fields: the rows of FormLayout in the order the generator builds them,
// the reference recipe taking three table rows.
FormPlan planFor(const wordproc::Document &document, const record::RecordValues *record, record::FormLanguage language)
{
    std::size_t block = 0;
    while (block < document.body.size() && !std::holds_alternative<wordproc::Table>(document.body[block]))
        ++block;
    if (block == document.body.size())
        throw base::Failure(QStringLiteral("The form has no table for the fillable fields."));
    FormPlan plan;
    plan.languageTag = record::languageTag(language);
    int tableRow = 0;
    QString section;
    for (const generator::RowSpec &row : generator::formRows()) {
        if (row.recipe == generator::Recipe::Heading)
            section = generator::formText(row.cells[0].label, language).section(QLatin1Char(','), 0, 0).trimmed();
        for (int c = 0; c < int(row.cells.size()); ++c) {
            const generator::CellSpec &spec = row.cells[std::size_t(c)];
            const CellRef at{block, tableRow, c, int(generator::formText(spec.label, language).size())};
            if (spec.source == generator::Source::Text) {
                const record::TextFieldSpec *field = record::findTextField(QLatin1String(spec.field));
                if (!field)
                    throw base::Failure(QStringLiteral("The form names an unknown field %1.").arg(QLatin1String(spec.field)));
                plan.texts.push_back({QString::fromLatin1(field->key), at,
                                      record ? record->textOf(QLatin1String(field->id)) : QString(), section});
            } else if (spec.source != generator::Source::None) {
                const record::ChoiceSpec *choice = choiceOfOption(spec.field);
                if (!choice)
                    throw base::Failure(QStringLiteral("The form names an unknown option %1.").arg(QLatin1String(spec.field)));
                QString value;
                if (record)
                    value = QLatin1String(record->isSelected(QLatin1String(choice->firstId)) ? choice->firstWord
                                                                                             : choice->secondWord);
                plan.choices.push_back({QString::fromLatin1(choice->key), at, QString::fromLatin1(choice->firstWord),
                                        QString::fromLatin1(choice->secondWord), generator::formText(choice->firstWord, language),
                                        generator::formText(choice->secondWord, language), value, section});
            }
        }
        tableRow += row.recipe == generator::Recipe::References ? 3 : 1;
    }
    return plan;
}

ExpectedFields expectedFields()
{
    ExpectedFields expected;
    for (const record::TextFieldSpec &field : record::textFields())
        expected.texts << QString::fromLatin1(field.key);
    for (const record::ChoiceSpec &choice : record::choices())
        expected.choices.push_back(
            {QString::fromLatin1(choice.key), {QString::fromLatin1(choice.firstWord), QString::fromLatin1(choice.secondWord)}});
    return expected;
}

} // namespace

QByteArray fillableFormOf(const FormLayer &layer, const record::RecordValues *record,
                          std::optional<record::FormLanguage> language)
{
    const record::FormLanguage printed = language.value_or(record ? record->formLanguage() : record::FormLanguage::English);
    // The form as the printed pages show it, with every value left out: the fields carry them.
    record::RecordSnapshot blank;
    blank.setFormLanguage(printed);
    const form::FormDocument valueless = form::build(blank);
    const FormPlan plan = planFor(valueless.document(), record, printed);
    return fillablePdf(layer, valueless.document(), plan, form::title(printed));
}

void exportFillable(const FormLayer &layer, const record::RecordValues *record, const QString &target,
                    std::optional<record::FormLanguage> language)
{
    base::ReplaceOptions options;
    options.followLink = true; // a link the user made stays a link, as with the document's saves
    options.mode = 0600;       // with values, it holds a social security number
    base::replaceFile(target, fillableFormOf(layer, record, language), options);
}

FilledValues importFilledBytes(const FormLayer &layer, const QByteArray &pdf)
{
    return readFilledForm(layer, pdf, expectedFields());
}

FilledValues importFilled(const FormLayer &layer, const QString &path)
{
    return readFilledFormFile(layer, path, expectedFields());
}

} // namespace form
