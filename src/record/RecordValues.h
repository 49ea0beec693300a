#pragma once
#include <QHash>
#include <QMap>
#include <QString>

#include "FormLanguage.h"

namespace record {
class SettingsStore;
}

namespace record {

// What the document generator reads from a record: a text field's text and whether an option
// is selected, by control identifier ("txtAppInfoName", "optCoCurrentRent").
class RecordValues {
public:
    virtual ~RecordValues() = default;
    // Throw base::Failure for an unknown identifier: a typo must not pass silently.
    virtual QString textOf(const QString &id) const = 0;
    virtual bool isSelected(const QString &id) const = 0;
    // The language the form is printed in; not one of the record's settings keys.
    virtual FormLanguage formLanguage() const { return FormLanguage::English; }
};

// The record by settings key: the store's, an applicant file's and an import's form of it. Every
// conversion between a record and its keys is here, and walks the catalogue here.

// The record by settings key, every field and choice present, as an applicant file holds it; with
// kFormLanguageKey too when its form is in another language than English.
QMap<QString, QString> settingsOf(const RecordValues &record);

// Every field of the record by settings key: the texts empty and each choice on its first option.
QMap<QString, QString> blankRecord();

// The record a fillable PDF's import gives, from the values it took by settings key: every key of
// a field the form shows present, what was not taken empty, a choice not taken on its first option.
// The hidden reference rows are absent, so that whatever takes the record keeps its own.
QMap<QString, QString> recordOfImport(const QMap<QString, QString> &taken);

// The record without the hidden reference rows, which nothing the user does changes: what tells
// whether the entries in the window are those of a file.
QMap<QString, QString> userEntries(QMap<QString, QString> record);


// A record held as plain values, without any control: for runs without a window, which then
// need no widget machinery at all. It reads the same values the window would show.
class RecordSnapshot final : public RecordValues {
public:
    // Every field empty and each choice on its first option, as a fresh window starts.
    RecordSnapshot();
    // The example record, as "Load sample data" leaves a fresh window.
    static RecordSnapshot sample();
    // The record as the window's load restores it from the store.
    static RecordSnapshot fromStore(SettingsStore &store);
    // The record by settings key, as an applicant file gives it (its form language too).
    static RecordSnapshot fromSettings(const QMap<QString, QString> &byKey);

    QString textOf(const QString &id) const override;
    bool isSelected(const QString &id) const override;
    FormLanguage formLanguage() const override { return m_language; }
    void setFormLanguage(FormLanguage language) { m_language = language; }

private:
    FormLanguage m_language = FormLanguage::English;
    QHash<QString, QString> m_texts;
    QHash<QString, bool> m_selected;
};

} // namespace record
