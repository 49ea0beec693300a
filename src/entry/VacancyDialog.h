#pragma once
#include "decision/Vacancy.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace entry {

// The folder's particulars the letters need: the unit, the landlord, the consumer reporting
// agencies, and how long each outcome's files are kept. Nothing is kept until all of it can be.
class VacancyDialog final : public QDialog {
    Q_OBJECT
public:
    // Keeps the particulars; returns why it could not, or empty.
    using Save = std::function<QString(const decision::Vacancy &, const decision::RetentionPeriods &)>;

    VacancyDialog(const QString &folder, const decision::Vacancy &vacancy, const decision::RetentionPeriods &periods,
                  Save save, QWidget *parent = nullptr);

    decision::Vacancy vacancy() const;
    // The periods typed, and why one cannot be read (blank: kept until a period is set).
    decision::RetentionPeriods periods(QStringList *problems = nullptr) const;
    QStringList problems() const;
    QString shownProblem() const;
    QTableWidget *agencies() const { return m_agencies; }

private:
    void addAgency(const decision::Agency &agency);
    void trySave();

    Save m_save;
    QLineEdit *m_unit = nullptr, *m_landlord = nullptr, *m_landlordPhone = nullptr;
    QPlainTextEdit *m_landlordAddress = nullptr;
    QTableWidget *m_agencies = nullptr;
    std::array<QLineEdit *, 4> m_periods{}; // approved, with conditions, denied, withdrawn
    QLabel *m_problem = nullptr;
};

} // namespace entry
