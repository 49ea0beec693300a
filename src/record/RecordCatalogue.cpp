#include "RecordCatalogue.h"

#include <iterator>

namespace record {
namespace {

constexpr TextFieldSpec kTextFields[] = {
#define TENVORIA_TEXT_FIELD(name, label, key, sample) {field::name.id, label, key, SampleKind::Value, sample},
#define TENVORIA_COPIED_FIELD(name, label, key, source) {field::name.id, label, key, SampleKind::CopyOf, field::source.id},
#define TENVORIA_UNTOUCHED_FIELD(name, label, key, shown) {field::name.id, label, key, SampleKind::Untouched, "", shown},
#include "RecordFields.inc"
};

constexpr ChoiceSpec kChoices[] = {
#define TENVORIA_CHOICE(name, settingsKey, caption, first, firstWord, second, secondWord, sampleWord)            \
    {settingsKey, caption, option::first.id, firstWord, option::second.id, secondWord, sampleWord},
#include "RecordFields.inc"
};

static_assert(std::size(kTextFields) == 70 && std::size(kChoices) == 6);

} // namespace

std::span<const TextFieldSpec> textFields() { return kTextFields; }
std::span<const ChoiceSpec> choices() { return kChoices; }

const TextFieldSpec *findTextField(QAnyStringView id)
{
    for (const TextFieldSpec &field : kTextFields)
        if (QAnyStringView::equal(id, QLatin1String(field.id)))
            return &field;
    return nullptr;
}

const ChoiceSpec *findChoice(QAnyStringView key)
{
    for (const ChoiceSpec &choice : kChoices)
        if (QAnyStringView::equal(key, QLatin1String(choice.key)))
            return &choice;
    return nullptr;
}

QString keyFromIdentifier(QStringView id)
{
    const QStringView name = id.startsWith(u"txt") ? id.mid(3) : id;
    QString key;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (i > 0 && name[i - 1].isLower() && name[i].isUpper())
            key += QLatin1Char(' ');
        key += name[i];
    }
    return key;
}

} // namespace record
