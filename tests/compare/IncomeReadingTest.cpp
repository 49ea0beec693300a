// Incomes as people type them: read where the text is certain, never a wrong number where it is not.
#include "compare/IncomeReading.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(IncomeReading, TheAmountsPeopleTypeAreReadAndTheUncertainOnesAreNot)
{
    struct Case {
        const char *typed;
        double annual; // NAN: not read
    };
    const Case cases[] = {
        {"$42,000", 42000},
        {"42 000", 42000},
        {"20 000", 20000},
        {"42\u00a0000", 42000},
        {"1'234'567", 1234567},
        {"42.000,50", 42000.50},
        {"61,234.56", 61234.56},
        {"1,234,567", 1234567},
        {"48000", 48000},
        {"45k", 45000},
        {"65K a year", 65000},
        {"USD 52,000 per year", 52000},
        {"3,500/month", 42000},
        {"$3,500 monthly", 42000},
        {"3500 a month", 42000},
        {"$20/hr", 41600},
        {"$20.50 per hour", 42640},
        {"hourly 18", 37440},
        {"900 weekly", 46800},
        {"1,600 every two weeks", 41600},
        {"1,600 every 2 weeks", 41600},
        {"approx. 40k", 40000},
        {"~50,000 gross", 50000},
        // Not read: a wrong number would be worse than none.
        {"42.000", NAN},       // 42 thousand in much of Europe, 42 elsewhere
        {"40-50k", NAN},       // a range
        {"40k plus bonus", NAN},
        {"20", NAN},           // twenty a year is no income: hourly? monthly?
        {"unemployed", NAN},
        {"3,500/month and 200/week", NAN},
        {"4 20 00", NAN},
        {"1.234,5.6", NAN},
        {"-5000", NAN},
        {"12,34,567", NAN},
        // Another currency is not dollars, however it is written.
        {"\u00a5300,000", NAN},
        {"\u20ac45.000,00", NAN},
        {"45,000 EUR", NAN},
        {"\u00a338,000", NAN},
        // Amounts no one earns in a year, or that lost their period: no multiple in the millions.
        {"1,000,000,000,000", NAN},
        {"10\u00b2\u00b2", NAN},
        {"3.100,50", NAN},
        {"$2/hr", NAN},
        {"12m", NAN},
        {"$10,000,000", 10000000},
        {"5,000", 5000},
    };
    for (const Case &c : cases) {
        const compare::IncomeReading reading = compare::readIncome(QString::fromUtf8(c.typed));
        EXPECT_FALSE(reading.empty) << c.typed;
        if (std::isnan(c.annual)) {
            EXPECT_FALSE(reading.annual.has_value()) << c.typed << " read as " << reading.annual.value_or(0);
            EXPECT_FALSE(reading.note.isEmpty()) << c.typed << ": no reason given";
        } else {
            ASSERT_TRUE(reading.annual.has_value()) << c.typed << ": " << reading.note.toStdString();
            EXPECT_NEAR(*reading.annual, c.annual, 0.005) << c.typed;
        }
    }
    // An hourly wage says how it was made yearly; the empty field is no income and no problem.
    EXPECT_TRUE(compare::readIncome(QStringLiteral("$20/hr")).note.contains(QStringLiteral("40 hours")));
    EXPECT_TRUE(compare::readIncome(QStringLiteral("  ")).empty);
    EXPECT_TRUE(compare::readIncome(QStringLiteral("\u20ac45.000,00")).note.contains(QStringLiteral("another currency")));
    EXPECT_TRUE(compare::readIncome(QStringLiteral("1,000,000,000,000")).note.contains(QStringLiteral("unlikely")));
}

TEST(IncomeReading, TheRentIsOneAmount)
{
    EXPECT_EQ(compare::readRent(QStringLiteral("$1,500")), 1500);
    EXPECT_EQ(compare::readRent(QStringLiteral("1.500,00 $")), 1500);
    EXPECT_EQ(compare::readRent(QStringLiteral("1250.50")), 1250.5);
    for (const char *bad : {"", "0", "1.500", "a lot", "1500/week", "-1500", "1.500,00 \u20ac", "\u00a3900"})
        EXPECT_FALSE(compare::readRent(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(IncomeReading, TheMinimumTakesTwoDecimalsAndRefusesTheRestWithItsReason)
{
    EXPECT_EQ(compare::readMinimum(QStringLiteral("3")).value, 3);
    EXPECT_EQ(compare::readMinimum(QStringLiteral(" 2.97 ")).value, 2.97);
    EXPECT_EQ(compare::readMinimum(QStringLiteral("20")).value, 20);
    const struct {
        const char *typed, *why;
    } refused[] = {{"0", "more than 0"}, {"-5", "more than 0"}, {"100", "at most 20"}, {"2.975", "two decimals"},
                   {"abc", "not a number"}, {"", "not a number"}, {"3,5", "not a number"}};
    for (const auto &r : refused) {
        const compare::MinimumReading reading = compare::readMinimum(QString::fromUtf8(r.typed));
        EXPECT_FALSE(reading.value.has_value()) << r.typed;
        EXPECT_TRUE(reading.why.contains(QLatin1String(r.why))) << r.typed << ": " << reading.why.toStdString();
    }
}

TEST(IncomeReading, TwoIncomesAddUpOnlyWhenBothAreKnown)
{
    using compare::combineIncomes;
    using compare::readIncome;
    EXPECT_EQ(*combineIncomes(readIncome(QStringLiteral("40,000")), readIncome(QStringLiteral("2,000/month"))).annual, 64000);
    EXPECT_EQ(*combineIncomes(readIncome(QStringLiteral("40,000")), readIncome(QString())).annual, 40000);
    EXPECT_TRUE(combineIncomes(readIncome(QString()), readIncome(QString())).empty);
    const compare::IncomeReading unknown = combineIncomes(readIncome(QStringLiteral("40,000")), readIncome(QStringLiteral("42.000")));
    EXPECT_FALSE(unknown.annual.has_value());
    EXPECT_TRUE(unknown.note.contains(QStringLiteral("42.000")));
}

} // namespace
