#include "RecordWidgets.h"

#include "record/RecordCatalogue.h"
#include "runtime/AppError.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QCoreApplication>
#include <QRadioButton>

namespace entry {

QLineEdit *RecordWidgets::text(const QString &id) const
{
    QLineEdit *edit = m_texts.value(id);
    if (!edit)
        throw runtime::AppError(QStringLiteral("The record has no text field %1.").arg(id));
    return edit;
}

QRadioButton *RecordWidgets::option(const QString &id) const
{
    QRadioButton *option = m_options.value(id);
    if (!option)
        throw runtime::AppError(QStringLiteral("The record has no option %1.").arg(id));
    return option;
}

QString RecordWidgets::textOf(const QString &id) const { return text(id)->text(); }
bool RecordWidgets::isSelected(const QString &id) const { return option(id)->isChecked(); }

RecordWidgets createRecordControls(QWidget *owner)
{
    RecordWidgets widgets;
    for (const record::TextFieldSpec &field : record::textFields()) {
        auto *edit = new QLineEdit(owner);
        edit->setObjectName(QLatin1String(field.id));
        // Fields take text of any length; QLineEdit's default cap is 32767.
        edit->setMaxLength(std::numeric_limits<int>::max());
        widgets.addText(QLatin1String(field.id), edit);
    }
    for (const record::ChoiceSpec &choice : record::choices()) {
        auto *first = new QRadioButton(QCoreApplication::translate("MainWindow", choice.firstWord), owner);
        auto *second = new QRadioButton(QCoreApplication::translate("MainWindow", choice.secondWord), owner);
        first->setObjectName(QLatin1String(choice.firstId));
        second->setObjectName(QLatin1String(choice.secondId));
        auto *group = new QButtonGroup(owner);
        group->addButton(first);
        group->addButton(second);
        first->setChecked(true);
        widgets.addOption(QLatin1String(choice.firstId), first);
        widgets.addOption(QLatin1String(choice.secondId), second);
    }
    return widgets;
}

} // namespace entry
