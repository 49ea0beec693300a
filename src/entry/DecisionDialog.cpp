#include "DecisionDialog.h"

#include "ScrolledPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace entry {
namespace {

using decision::Status;

constexpr Status kStatuses[] = {Status::Pending, Status::Approved, Status::ApprovedWithConditions, Status::Denied,
                                Status::Withdrawn};

QLineEdit *line(QWidget *parent, const QString &name, const QString &placeholder = QString())
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(name);
    field->setPlaceholderText(placeholder);
    return field;
}

QCheckBox *check(QWidget *parent, const QString &text, const QString &name)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

DecisionDialog::DecisionDialog(const QString &applicant, const decision::Decision &current,
                               const decision::Vacancy &vacancy, Save save, QWidget *parent)
    : QDialog(parent), m_save(std::move(save)), m_criteria(current.criteria)
{
    setObjectName(QStringLiteral("DecisionDialog"));
    setWindowTitle(QStringLiteral("Decision \u2014 %1").arg(applicant));
    build(vacancy);
    showDecision(current);
    follow();
}

void DecisionDialog::build(const decision::Vacancy &vacancy)
{
    auto *outer = new QVBoxLayout(this);
    QVBoxLayout *layout = addScrolledPage(this, outer);
    QWidget *page = layout->parentWidget();

    auto *top = new QFormLayout;
    m_status = new QComboBox(page);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setAccessibleName(QStringLiteral("Status"));
    for (const Status status : kStatuses)
        m_status->addItem(decision::statusName(status), int(status));
    top->addRow(QStringLiteral("St&atus:"), m_status);
    m_date = line(page, QStringLiteral("Date"), QStringLiteral("YYYY-MM-DD"));
    m_date->setMaximumWidth(140);
    top->addRow(QStringLiteral("&Date:"), m_date);
    layout->addLayout(top);

    m_conditions = new QGroupBox(QStringLiteral("Conditions of the approval"), page);
    auto *conditions = new QGridLayout(m_conditions);
    m_coSigner = check(m_conditions, QStringLiteral("A co-si&gner"), QStringLiteral("Co-signer"));
    m_deposit = check(m_conditions, QStringLiteral("A larger de&posit of $"), QStringLiteral("Larger deposit"));
    m_depositAmount = line(m_conditions, QStringLiteral("Deposit amount"), QStringLiteral("e.g. 2,500"));
    m_higherRent = check(m_conditions, QStringLiteral("A &higher monthly rent of $"), QStringLiteral("Higher rent"));
    m_rentAmount = line(m_conditions, QStringLiteral("Rent amount"), QStringLiteral("e.g. 1,600"));
    m_otherCondition = line(m_conditions, QStringLiteral("Other condition"));
    auto *otherLabel = new QLabel(QStringLiteral("&Other:"), m_conditions);
    otherLabel->setBuddy(m_otherCondition);
    conditions->addWidget(m_coSigner, 0, 0, 1, 2);
    conditions->addWidget(m_deposit, 1, 0);
    conditions->addWidget(m_depositAmount, 1, 1);
    conditions->addWidget(m_higherRent, 2, 0);
    conditions->addWidget(m_rentAmount, 2, 1);
    conditions->addWidget(otherLabel, 3, 0);
    conditions->addWidget(m_otherCondition, 3, 1);
    layout->addWidget(m_conditions);

    m_reasons = new QGroupBox(QStringLiteral("Reasons"), page);
    auto *reasons = new QGridLayout(m_reasons);
    m_income = check(m_reasons, QStringLiteral("&Income below the minimum multiple"), QStringLiteral("Income below the minimum"));
    m_credit = check(m_reasons, QStringLiteral("&Credit history"), QStringLiteral("Credit history"));
    m_rental = check(m_reasons, QStringLiteral("Re&ntal history"), QStringLiteral("Rental history"));
    m_eviction = check(m_reasons, QStringLiteral("E&viction record"), QStringLiteral("Eviction record"));
    m_unverifiable = check(m_reasons, QStringLiteral("&Unverifiable or incomplete information"), QStringLiteral("Unverifiable information"));
    m_otherReason = line(m_reasons, QStringLiteral("Other reason"));
    auto *otherReasonLabel = new QLabel(QStringLiteral("Oth&er:"), m_reasons);
    otherReasonLabel->setBuddy(m_otherReason);
    reasons->addWidget(m_income, 0, 0, 1, 2);
    reasons->addWidget(m_credit, 1, 0, 1, 2);
    reasons->addWidget(m_rental, 2, 0, 1, 2);
    reasons->addWidget(m_eviction, 3, 0, 1, 2);
    reasons->addWidget(m_unverifiable, 4, 0, 1, 2);
    reasons->addWidget(otherReasonLabel, 5, 0);
    reasons->addWidget(m_otherReason, 5, 1);
    layout->addWidget(m_reasons);

    auto *report = new QGroupBox(QStringLiteral("Consumer report"), page);
    auto *reportLayout = new QFormLayout(report);
    m_reportUsed = check(report, QStringLiteral("A consumer &report was used"), QStringLiteral("Consumer report used"));
    reportLayout->addRow(m_reportUsed);
    // Said apart from the box, so that it wraps on a narrow screen.
    auto *kinds = new QLabel(QStringLiteral("A credit, tenant-screening, eviction or background report."), report);
    kinds->setWordWrap(true);
    reportLayout->addRow(kinds);
    m_agency = new QComboBox(report);
    m_agency->setObjectName(QStringLiteral("Agency"));
    m_agency->setAccessibleName(QStringLiteral("Agency"));
    for (const decision::Agency &agency : vacancy.agencies)
        m_agency->addItem(agency.name);
    reportLayout->addRow(QStringLiteral("Agenc&y:"), m_agency);
    if (vacancy.agencies.isEmpty()) {
        auto *none = new QLabel(QStringLiteral("The folder has no agencies yet: add them with Vacancy\u2026 in the Applicants window."), report);
        none->setWordWrap(true);
        reportLayout->addRow(none);
    }
    m_scoreUsed = check(report, QStringLiteral("A credi&t score was used"), QStringLiteral("Credit score used"));
    reportLayout->addRow(m_scoreUsed);
    layout->addWidget(report);

    m_score = new QGroupBox(QStringLiteral("Credit score"), page);
    auto *score = new QFormLayout(m_score);
    m_scoreValue = line(m_score, QStringLiteral("Score"));
    score->addRow(QStringLiteral("Score:"), m_scoreValue);
    auto *range = new QHBoxLayout;
    m_rangeLow = line(m_score, QStringLiteral("Lowest possible score"), QStringLiteral("e.g. 300"));
    m_rangeHigh = line(m_score, QStringLiteral("Highest possible score"), QStringLiteral("e.g. 850"));
    range->addWidget(m_rangeLow);
    range->addWidget(new QLabel(QStringLiteral("to"), m_score));
    range->addWidget(m_rangeHigh);
    score->addRow(QStringLiteral("Range:"), range);
    for (int i = 0; i < 4; ++i) {
        m_factors[i] = line(m_score, QStringLiteral("Key factor %1").arg(i + 1));
        score->addRow(QStringLiteral("Key factor %1:").arg(i + 1), m_factors[i]);
    }
    m_scoreDate = line(m_score, QStringLiteral("Score date"), QStringLiteral("YYYY-MM-DD"));
    score->addRow(QStringLiteral("Date of the score:"), m_scoreDate);
    m_providedBy = line(m_score, QStringLiteral("Provided by"));
    score->addRow(QStringLiteral("Provided by:"), m_providedBy);
    layout->addWidget(m_score);
    layout->addStretch(1);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("Problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #801010"));
    m_problem->setAccessibleName(QStringLiteral("Problem"));
    m_problem->hide();
    outer->addWidget(m_problem);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *saveButton = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("Save"));
    saveButton->setDefault(true);
    QPushButton *letters = buttons->addButton(QStringLiteral("Save and &Letters\u2026"), QDialogButtonBox::ActionRole);
    letters->setObjectName(QStringLiteral("Letters"));
    buttons->addButton(QDialogButtonBox::Cancel);
    outer->addWidget(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] { trySave(false); });
    connect(letters, &QPushButton::clicked, this, [this] { trySave(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_status, &QComboBox::currentIndexChanged, this, &DecisionDialog::follow);
    for (QCheckBox *box : {m_deposit, m_higherRent, m_reportUsed, m_scoreUsed})
        connect(box, &QCheckBox::toggled, this, &DecisionDialog::follow);
    resize(560, 640);
    m_status->setFocus();
}

void DecisionDialog::showDecision(const decision::Decision &decision)
{
    m_status->setCurrentIndex(m_status->findData(int(decision.status)));
    m_date->setText(decision::dateText(decision.date.isValid() ? decision.date : QDate::currentDate()));
    const decision::Conditions &c = decision.conditions;
    m_coSigner->setChecked(c.coSigner);
    m_deposit->setChecked(c.deposit);
    m_depositAmount->setText(c.depositAmount);
    m_higherRent->setChecked(c.higherRent);
    m_rentAmount->setText(c.rentAmount);
    m_otherCondition->setText(c.other);
    const decision::Reasons &r = decision.reasons;
    m_income->setChecked(r.incomeBelowMinimum);
    m_credit->setChecked(r.creditHistory);
    m_rental->setChecked(r.rentalHistory);
    m_eviction->setChecked(r.evictionRecord);
    m_unverifiable->setChecked(r.unverifiableInformation);
    m_otherReason->setText(r.other);
    m_reportUsed->setChecked(decision.reportUsed);
    if (!decision.agency.isEmpty() && m_agency->findText(decision.agency) < 0)
        m_agency->addItem(decision.agency); // an agency since taken off the folder's list stays as it was
    if (!decision.agency.isEmpty())
        m_agency->setCurrentText(decision.agency);
    const decision::ScoreDisclosure &s = decision.score;
    m_scoreUsed->setChecked(s.used);
    m_scoreValue->setText(s.score);
    m_rangeLow->setText(s.rangeLow);
    m_rangeHigh->setText(s.rangeHigh);
    for (int i = 0; i < 4; ++i)
        m_factors[i]->setText(s.keyFactors[i]);
    m_scoreDate->setText(s.date.isValid() ? decision::dateText(s.date) : QString());
    m_providedBy->setText(s.providedBy);
}

void DecisionDialog::follow()
{
    const auto status = Status(m_status->currentData().toInt());
    m_date->setEnabled(status != Status::Pending);
    m_conditions->setEnabled(status == Status::ApprovedWithConditions);
    m_depositAmount->setEnabled(m_deposit->isChecked());
    m_rentAmount->setEnabled(m_higherRent->isChecked());
    m_reasons->setEnabled(status == Status::Denied || status == Status::ApprovedWithConditions);
    m_agency->setEnabled(m_reportUsed->isChecked());
    m_score->setEnabled(m_scoreUsed->isChecked());
}

decision::Decision DecisionDialog::decision() const
{
    decision::Decision d;
    d.status = Status(m_status->currentData().toInt());
    d.criteria = m_criteria;
    if (d.status == Status::Pending)
        return d; // a pending decision holds nothing else
    d.date = decision::readDate(m_date->text()).value_or(QDate());
    if (d.status == Status::ApprovedWithConditions)
        d.conditions = {m_coSigner->isChecked(), m_deposit->isChecked(), m_depositAmount->text().trimmed(),
                        m_higherRent->isChecked(), m_rentAmount->text().trimmed(), m_otherCondition->text().trimmed()};
    if (d.status == Status::Denied || d.status == Status::ApprovedWithConditions) {
        d.reasons.incomeBelowMinimum = m_income->isChecked();
        d.reasons.creditHistory = m_credit->isChecked();
        d.reasons.rentalHistory = m_rental->isChecked();
        d.reasons.evictionRecord = m_eviction->isChecked();
        d.reasons.unverifiableInformation = m_unverifiable->isChecked();
        d.reasons.other = m_otherReason->text().trimmed();
    }
    d.reportUsed = m_reportUsed->isChecked();
    if (d.reportUsed)
        d.agency = m_agency->currentText().trimmed();
    if (m_scoreUsed->isChecked()) {
        d.score.used = true;
        d.score.score = m_scoreValue->text().trimmed();
        d.score.rangeLow = m_rangeLow->text().trimmed();
        d.score.rangeHigh = m_rangeHigh->text().trimmed();
        for (int i = 0; i < 4; ++i)
            d.score.keyFactors[i] = m_factors[i]->text().trimmed();
        d.score.date = decision::readDate(m_scoreDate->text()).value_or(QDate());
        d.score.providedBy = m_providedBy->text().trimmed();
    }
    return d;
}

QStringList DecisionDialog::problems(const QDate &today) const
{
    decision::Decision d = decision();
    QStringList problems;
    // A date typed that cannot be read is said as such; the decision layer, which never saw the
    // text, would only say that the date is missing.
    const auto unreadable = [&](QLineEdit *field, const QString &what, QDate &date) {
        if (field->isEnabled() && !field->text().trimmed().isEmpty() && !date.isValid()) {
            problems << QStringLiteral("\"%1\" is not a date this dialog can read: type %2 as YYYY-MM-DD, as %3.")
                            .arg(field->text().trimmed(), what, decision::dateText(today));
            date = today; // said once
        }
    };
    if (d.status != Status::Pending)
        unreadable(m_date, QStringLiteral("the decision's date"), d.date);
    if (d.score.used)
        unreadable(m_scoreDate, QStringLiteral("the credit score's date"), d.score.date);
    return problems + decision::problemsOf(d, today);
}

QString DecisionDialog::shownProblem() const { return m_problem->isHidden() ? QString() : m_problem->text(); }

void DecisionDialog::trySave(bool thenLetters)
{
    QStringList problems = this->problems(QDate::currentDate());
    QString why = problems.join(QLatin1Char(' '));
    if (why.isEmpty() && m_save)
        why = m_save(decision());
    m_problem->setText(why);
    m_problem->setVisible(!why.isEmpty());
    if (!why.isEmpty())
        return;
    m_lettersWanted = thenLetters;
    accept();
}

} // namespace entry
