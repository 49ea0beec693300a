#include "PassphrasePrompt.h"

#include "runtime/MessageBoxes.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace entry {
namespace {

// `name` finds the field (its object name); screen readers read `spoken`, in the windows' language.
QLineEdit *secretField(QWidget *parent, const QString &name, const QString &spoken)
{
    auto *field = new QLineEdit(parent);
    field->setEchoMode(QLineEdit::Password);
    field->setAccessibleName(spoken);
    field->setObjectName(name);
    return field;
}

} // namespace

std::optional<QString> DialogPassphrasePrompt::askNew(const QString &fileName)
{
    return askTwice(QCoreApplication::translate("PassphrasePrompt", "Lock %1 with a passphrase. Without it nobody, you included, can open the file "
                                   "again: keep it safe.")
                        .arg(QFileInfo(fileName).fileName()),
                    QCoreApplication::translate("PassphrasePrompt", "&Passphrase:"), QCoreApplication::translate("PassphrasePrompt", "&Lock"));
}

std::optional<QString> DialogPassphrasePrompt::askChanged(const QString &fileName)
{
    return askTwice(QCoreApplication::translate("PassphrasePrompt", "Choose a new passphrase for %1. Once it is changed, the old passphrase no longer "
                                   "opens the file; copies saved before keep the old one.")
                        .arg(QFileInfo(fileName).fileName()),
                    QCoreApplication::translate("PassphrasePrompt", "&New passphrase:"), QCoreApplication::translate("PassphrasePrompt", "&Change Passphrase"));
}

std::optional<QString> DialogPassphrasePrompt::askTwice(const QString &introText, const QString &firstLabel,
                                                        const QString &button)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(runtime::applicationTitle());
    auto *layout = new QVBoxLayout(&dialog);
    auto *intro = new QLabel(introText, &dialog);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    QLineEdit *first = secretField(&dialog, QStringLiteral("Passphrase"), QCoreApplication::translate("PassphrasePrompt", "Passphrase"));
    QLineEdit *second = secretField(&dialog, QStringLiteral("Passphrase again"), QCoreApplication::translate("PassphrasePrompt", "Passphrase again"));
    form->addRow(firstLabel, first);
    form->addRow(QCoreApplication::translate("PassphrasePrompt", "&Again:"), second);
    layout->addLayout(form);
    auto *problem = new QLabel(&dialog);
    problem->setObjectName(QStringLiteral("Problem"));
    layout->addWidget(problem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(button);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        // Refused here, in the dialog, so that a slip costs no second round.
        if (first->text().isEmpty())
            problem->setText(QCoreApplication::translate("PassphrasePrompt", "An empty passphrase locks nothing. Type one."));
        else if (first->text() != second->text())
            problem->setText(QCoreApplication::translate("PassphrasePrompt", "The two passphrases differ. Type the same one twice."));
        else
            dialog.accept();
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return first->text();
}

std::optional<QString> DialogPassphrasePrompt::askToOpen(const QString &fileName, bool again)
{
    const QString name = QFileInfo(fileName).fileName();
    return askOnce(again ? QCoreApplication::translate("PassphrasePrompt", "That passphrase does not open %1. Try again:").arg(name)
                         : QCoreApplication::translate("PassphrasePrompt", "%1 is locked. Its passphrase:").arg(name),
                   QCoreApplication::translate("PassphrasePrompt", "&Open"));
}

std::optional<QString> DialogPassphrasePrompt::askToRestore(const QString &fileName, bool again)
{
    const QString name = QFileInfo(fileName).fileName();
    return askOnce(again ? QCoreApplication::translate("PassphrasePrompt", "That passphrase does not open %1. Try again:").arg(name)
                         : QCoreApplication::translate("PassphrasePrompt", "%1 was open when the program last ended; its entries are kept locked. "
                                          "Its passphrase brings them back:")
                               .arg(name),
                   QCoreApplication::translate("PassphrasePrompt", "&Restore"));
}

std::optional<QString> DialogPassphrasePrompt::askOnce(const QString &introText, const QString &button)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(runtime::applicationTitle());
    auto *layout = new QVBoxLayout(&dialog);
    auto *intro = new QLabel(introText, &dialog);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    QLineEdit *field = secretField(&dialog, QStringLiteral("Passphrase"), QCoreApplication::translate("PassphrasePrompt", "Passphrase"));
    intro->setBuddy(field);
    layout->addWidget(field);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(button);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

} // namespace entry
