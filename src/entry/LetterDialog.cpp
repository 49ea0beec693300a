#include "LetterDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace entry {

using decision::LetterKind;
using decision::Status;

LetterDialog::LetterDialog(const QString &applicant, decision::LetterInput input, Save save, QWidget *parent)
    : QDialog(parent), m_input(std::move(input)), m_save(std::move(save))
{
    setObjectName(QStringLiteral("LetterDialog"));
    setWindowTitle(QStringLiteral("Letters \u2014 %1").arg(applicant));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("The decision: %1%2.")
                                 .arg(decision::statusName(m_input.decision.status),
                                      m_input.decision.reportUsed ? QStringLiteral(", on a consumer report") : QString()),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_kinds = new QButtonGroup(this);
    const struct {
        LetterKind kind;
        const char *text;
    } kinds[] = {{LetterKind::Approval, "&Approval"},
                 {LetterKind::AdverseAction, "A&dverse action notice (a denial or conditional approval on a consumer report)"},
                 {LetterKind::Denial, "&Plain denial with its reasons (no consumer report used)"}};
    for (const auto &k : kinds) {
        auto *button = new QRadioButton(QString::fromUtf8(k.text), this);
        button->setObjectName(decision::letterTitle(k.kind));
        m_kinds->addButton(button, int(k.kind));
        layout->addWidget(button);
    }
    auto *form = new QFormLayout;
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("Format"));
    m_format->setAccessibleName(QStringLiteral("Format"));
    m_format->addItem(QStringLiteral("PDF"), true);
    m_format->addItem(QStringLiteral("Word document (.doc)"), false);
    form->addRow(QStringLiteral("&Save as:"), m_format);
    layout->addLayout(form);
    m_missing = new QLabel(this);
    m_missing->setObjectName(QStringLiteral("Problem"));
    m_missing->setWordWrap(true);
    m_missing->setStyleSheet(QStringLiteral("color: #801010"));
    layout->addWidget(m_missing);
    m_saved = new QLabel(this);
    m_saved->setObjectName(QStringLiteral("Saved"));
    m_saved->setWordWrap(true);
    layout->addWidget(m_saved);
    layout->addStretch(1);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *saveButton = buttons->addButton(QStringLiteral("Sa&ve Letter\u2026"), QDialogButtonBox::ActionRole);
    saveButton->setObjectName(QStringLiteral("Save"));
    saveButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(saveButton, &QPushButton::clicked, this, &LetterDialog::trySave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_kinds, &QButtonGroup::idToggled, this, &LetterDialog::follow);
    setKind(suggested(m_input.decision));
    resize(520, 300);
    m_kinds->checkedButton()->setFocus();
}

LetterKind LetterDialog::suggested(const decision::Decision &decision)
{
    if (decision.reportUsed && (decision.status == Status::Denied || decision.status == Status::ApprovedWithConditions))
        return LetterKind::AdverseAction;
    return decision.status == Status::Denied ? LetterKind::Denial : LetterKind::Approval;
}

LetterKind LetterDialog::kind() const { return LetterKind(m_kinds->checkedId()); }

void LetterDialog::setKind(LetterKind kind)
{
    m_kinds->button(int(kind))->setChecked(true);
    follow();
}

void LetterDialog::setPdf(bool pdf) { m_format->setCurrentIndex(pdf ? 0 : 1); }

QString LetterDialog::shownProblem() const { return m_missing->text(); }

QString LetterDialog::shownSaved() const { return m_saved->text(); }

void LetterDialog::follow()
{
    m_saved->clear(); // said of the letter saved last, not of the one chosen now
    const QStringList missing = decision::missingFor(kind(), m_input);
    m_missing->setText(missing.isEmpty() ? QString()
                                         : QStringLiteral("This letter cannot be made yet. It needs %1.")
                                               .arg(missing.join(QStringLiteral("; "))));
}

void LetterDialog::trySave()
{
    follow();
    if (!m_missing->text().isEmpty() || !m_save)
        return;
    bool cancelled = false;
    const QString why = m_save(kind(), m_format->currentData().toBool(), cancelled);
    if (!why.isEmpty())
        m_missing->setText(why);
    else if (!cancelled)
        m_saved->setText(QStringLiteral("Saved. Another letter, or Close."));
}

} // namespace entry
