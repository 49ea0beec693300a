#pragma once
#include "record/RecordValues.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class QLineEdit;
class QRadioButton;
class QWidget;

namespace entry {

// The record lives in the main window's controls; this is how the rest of the program reaches
// them by identifier ("txtAppInfoName", "optCoCurrentRent").
class RecordWidgets final : public record::RecordValues {
public:
    void addText(const QString &id, QLineEdit *edit) { m_texts.insert(id, edit); }
    void addOption(const QString &id, QRadioButton *option) { m_options.insert(id, option); }

    // Throw runtime::AppError for an unknown identifier: a typo must not pass silently.
    QLineEdit *text(const QString &id) const;
    QRadioButton *option(const QString &id) const;

    QString textOf(const QString &id) const override;
    bool isSelected(const QString &id) const override;
    record::FormLanguage formLanguage() const override { return m_language; }
    void setFormLanguage(record::FormLanguage language) { m_language = language; }

private:
    record::FormLanguage m_language = record::FormLanguage::English;
    QHash<QString, QLineEdit *> m_texts;
    QHash<QString, QRadioButton *> m_options;
};

// Creates every control of the record without a window: the text fields, and each choice's
// two options sharing one exclusive group with the first option selected, all owned by `owner`.
RecordWidgets createRecordControls(QWidget *owner);

} // namespace entry
