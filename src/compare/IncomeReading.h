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
// point, the dollar's sign or code, and one period (hour, week, two weeks, month, year). Whatever could
// be read more than one way ("42.000", "40-50k", "40k plus bonus", "20" with no period), an amount in
// another currency ("€45.000,00", "¥300,000"), and a yearly amount under $5,000 or over $10 million
// is not read: the reading gives no number and says why, never a wrong one. An hourly wage is taken as 40 hours a
// week, 52 weeks a year, and the note says so.
IncomeReading readIncome(const QString &typed);

// A monthly rent as the landlord types it ("1500", "$1,500", "1.500,00"): the amount, or nothing when
// the text is not one positive amount in dollars read with certainty.
std::optional<double> readRent(const QString &typed);

// The least income multiple a landlord accepts, as typed ("3", "2.5", "2.97"): more than 0, at most
// 20, with two decimals at most, so that the figure shown and the mark always agree. Either the
// value or why it is refused.
struct MinimumReading {
    std::optional<double> value;
    QString why;
};
MinimumReading readMinimum(const QString &typed);
constexpr double kHighestMinimum = 20;

// Two incomes together: the sum of those read, or nothing with the reason when either could not be.
IncomeReading combineIncomes(const IncomeReading &first, const IncomeReading &second);

} // namespace compare
