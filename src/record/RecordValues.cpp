#include "RecordValues.h"

#include "RecordCatalogue.h"
#include "base/Failure.h"
#include "record/SettingsStore.h"

namespace record {

namespace {

void select(QHash<QString, bool> &selected, const ChoiceSpec &choice, bool first)
{
    selected.insert(QLatin1String(choice.firstId), first);
    selected.insert(QLatin1String(choice.secondId), !first);
}

} // namespace

QMap<QString, QString> blankRecord() { return settingsOf(RecordSnapshot()); }

QMap<QString, QString> recordOfImport(const QMap<QString, QString> &taken)
{
    QMap<QString, QString> record = userEntries(blankRecord());
    for (auto it = record.begin(); it != record.end(); ++it)
        if (const auto value = taken.constFind(it.key()); value != taken.cend())
            it.value() = *value;
    return record;
}

QMap<QString, QString> userEntries(QMap<QString, QString> record)
{
    for (const TextFieldSpec &field : textFields())
        if (!field.shown)
            record.remove(QLatin1String(field.key));
    return record;
}

RecordSnapshot::RecordSnapshot()
{
    for (const TextFieldSpec &field : textFields())
        m_texts.insert(QLatin1String(field.id), QString());
    for (const ChoiceSpec &choice : choices())
        select(m_selected, choice, true);
}

RecordSnapshot RecordSnapshot::sample()
{
    RecordSnapshot record;
    for (const TextFieldSpec &field : textFields())
        if (field.sampleKind == SampleKind::Value)
            record.m_texts.insert(QLatin1String(field.id), QString::fromUtf8(field.sample));
    // Copies after every value: a copy's source is always a field the sample fills with a value.
    for (const TextFieldSpec &field : textFields())
        if (field.sampleKind == SampleKind::CopyOf)
            record.m_texts.insert(QLatin1String(field.id), record.textOf(QLatin1String(field.sample)));
    for (const ChoiceSpec &choice : choices())
        select(record.m_selected, choice, QLatin1String(choice.sampleWord) == QLatin1String(choice.firstWord));
    return record;
}

QMap<QString, QString> settingsOf(const RecordValues &record)
{
    QMap<QString, QString> byKey;
    if (record.formLanguage() != FormLanguage::English)
        byKey.insert(QLatin1String(kFormLanguageKey), languageCode(record.formLanguage()));
    for (const TextFieldSpec &field : textFields())
        byKey.insert(QLatin1String(field.key), record.textOf(QLatin1String(field.id)));
    for (const ChoiceSpec &choice : choices())
        byKey.insert(QLatin1String(choice.key),
                     QLatin1String(record.isSelected(QLatin1String(choice.secondId)) ? choice.secondWord : choice.firstWord));
    return byKey;
}

RecordSnapshot RecordSnapshot::fromSettings(const QMap<QString, QString> &byKey)
{
    RecordSnapshot record;
    record.m_language = languageOfCode(byKey.value(QLatin1String(kFormLanguageKey))).value_or(FormLanguage::English);
    for (const TextFieldSpec &field : textFields())
        record.m_texts.insert(QLatin1String(field.id), byKey.value(QLatin1String(field.key)));
    for (const ChoiceSpec &choice : choices())
        select(record.m_selected, choice, byKey.value(QLatin1String(choice.key)) != QLatin1String(choice.secondWord));
    return record;
}

RecordSnapshot RecordSnapshot::fromStore(SettingsStore &store)
{
    QMap<QString, QString> byKey;
    for (const TextFieldSpec &field : textFields())
        byKey.insert(QLatin1String(field.key), store.read(QLatin1String(field.key)));
    for (const ChoiceSpec &choice : choices())
        byKey.insert(QLatin1String(choice.key), store.read(QLatin1String(choice.key)));
    byKey.insert(QLatin1String(kFormLanguageKey), store.read(QLatin1String(kFormLanguageKey)));
    return fromSettings(byKey);
}

QString RecordSnapshot::textOf(const QString &id) const
{
    const auto it = m_texts.constFind(id);
    if (it == m_texts.constEnd())
        throw base::Failure(QStringLiteral("The record has no text field %1.").arg(id));
    return *it;
}

bool RecordSnapshot::isSelected(const QString &id) const
{
    const auto it = m_selected.constFind(id);
    if (it == m_selected.constEnd())
        throw base::Failure(QStringLiteral("The record has no option %1.").arg(id));
    return *it;
}

} // namespace record
