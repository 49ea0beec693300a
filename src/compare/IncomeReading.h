#pragma once
#include <QString>

#include <optional>

namespace compare {

// An income as a person typed it, read as a yearly amount where that can be done with certainty.
struct IncomeReading {
    bool empty = false;            // nothing was typed
    std::optional<double> annual;  // the yearly amount, when the text says it unambiguously
    QString note;                  // how it was read ("$20 an hour, 40 hours a week"), or why it was not
};

// Reads the amounts people type: "$42,000", "42 000", "42.000,50", "45k", "3,500/month", "$20/hr",
// "1,200 every two weeks". Digits grouped by commas, dots, spaces or apostrophes, a decimal comma or
// point, a currency sign or code, and one period (hour, week, two weeks, month, year). Whatever could
// be read more than one way ("42.000", "40-50k", "40k plus bonus", "20" with no period) is not read:
// the reading gives no number and says why, never a wrong one. An hourly wage is taken as 40 hours a
// week, 52 weeks a year, and the note says so.
IncomeReading readIncome(const QString &typed);

// A monthly rent as the landlord types it ("1500", "$1,500", "1.500,00"): the amount, or nothing when
// the text is not one positive amount read with certainty.
std::optional<double> readRent(const QString &typed);

// Two incomes together: the sum of those read, or nothing with the reason when either could not be.
IncomeReading combineIncomes(const IncomeReading &first, const IncomeReading &second);

} // namespace compare
