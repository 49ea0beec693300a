#pragma once
#include "decision/Decision.h"
#include "decision/Vacancy.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace entry {

// The landlord's decision on one applicant: status, conditions, date, reasons, the consumer report
// and the credit score. It only shows and asks: what can be kept is the decision layer's to say
// (decision::problemsOf), and the save is the caller's, so that a refusal keeps the dialog open
// with what was typed.
class DecisionDialog final : public QDialog {
    Q_OBJECT
public:
    // Writes the decision; returns why it could not, or empty when it was written.
    using Save = std::function<QString(const decision::Decision &)>;

    DecisionDialog(const QString &applicant, const decision::Decision &current, const decision::Vacancy &vacancy,
                   Save save, QWidget *parent = nullptr);

    // The decision as typed (the criteria are the caller's), and why it cannot be kept as it is.
    decision::Decision decision() const;
    QStringList problems(const QDate &today) const;
    QString shownProblem() const;
    // Whether Letters… was asked for after the decision was saved.
    bool lettersWanted() const { return m_lettersWanted; }

private:
    void build(const decision::Vacancy &vacancy);
    void showDecision(const decision::Decision &decision);
    void follow();
    void trySave(bool thenLetters);

    Save m_save;
    decision::Criteria m_criteria;
    bool m_lettersWanted = false;
    QComboBox *m_status = nullptr;
    QLineEdit *m_date = nullptr;
    QGroupBox *m_conditions = nullptr;
    QCheckBox *m_coSigner = nullptr, *m_deposit = nullptr, *m_higherRent = nullptr;
    QLineEdit *m_depositAmount = nullptr, *m_rentAmount = nullptr, *m_otherCondition = nullptr;
    QGroupBox *m_reasons = nullptr;
    QCheckBox *m_income = nullptr, *m_credit = nullptr, *m_rental = nullptr, *m_eviction = nullptr, *m_unverifiable = nullptr;
    QLineEdit *m_otherReason = nullptr;
    QCheckBox *m_reportUsed = nullptr;
    QComboBox *m_agency = nullptr;
    QCheckBox *m_scoreUsed = nullptr;
    QGroupBox *m_score = nullptr;
    QLineEdit *m_scoreValue = nullptr, *m_rangeLow = nullptr, *m_rangeHigh = nullptr, *m_scoreDate = nullptr, *m_providedBy = nullptr;
    std::array<QLineEdit *, 4> m_factors{};
    QLabel *m_problem = nullptr;
};

} // namespace entry
