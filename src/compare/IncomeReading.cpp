#include "IncomeReading.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>
#include <cmath>

namespace compare {
namespace {

struct Period {
    const char *name;      // for the note
    double perYear;
    std::array<const char *, 8> words; // as they are typed, lower case; empty ends the list
};

// Longer words first within each period so that "per month" is taken before "month".
const std::array<Period, 5> kPeriods = {{
    {"an hour", 40.0 * 52, {"per hour", "an hour", "a hour", "/hour", "hourly", "/hr", "/h", "hr"}},
    {"every two weeks", 26, {"every two weeks", "every 2 weeks", "biweekly", "bi-weekly", "fortnightly", "/2wk", "", ""}},
    {"a week", 52, {"per week", "a week", "/week", "weekly", "/wk", "wk", "", ""}},
    {"a month", 12, {"per month", "a month", "/month", "monthly", "/mo", "mo", "month", ""}},
    {"a year", 1, {"per year", "a year", "/year", "annually", "annual", "yearly", "/yr", "yr"}},
}};

// Words that say nothing about the amount: the dollar, and "income" itself.
const QStringList kNeutralWords = {QStringLiteral("usd"), QStringLiteral("us"), QStringLiteral("dollars"),
                                   QStringLiteral("dollar"), QStringLiteral("gross"), QStringLiteral("salary"),
                                   QStringLiteral("income")};

// Other currencies' codes and names: an amount in one of them is not dollars, and the rent is.
const QStringList kOtherCurrencies = {
    QStringLiteral("eur"), QStringLiteral("euro"), QStringLiteral("euros"), QStringLiteral("gbp"), QStringLiteral("pound"),
    QStringLiteral("pounds"), QStringLiteral("cad"), QStringLiteral("aud"), QStringLiteral("nzd"), QStringLiteral("jpy"),
    QStringLiteral("yen"), QStringLiteral("cny"), QStringLiteral("rmb"), QStringLiteral("yuan"), QStringLiteral("chf"),
    QStringLiteral("inr"), QStringLiteral("rupees"), QStringLiteral("mxn"), QStringLiteral("pesos"), QStringLiteral("brl"),
    QStringLiteral("sek"), QStringLiteral("nok"), QStringLiteral("dkk"), QStringLiteral("pln"), QStringLiteral("krw")};

// A yearly income outside these is far more likely a slip (a missing period, a digit too many, a
// rent typed as income) than true; it is shown with the reason and gets no multiple.
constexpr double kLeastLikelyYear = 5000;
constexpr double kMostLikelyYear = 10000000;

// Each period's words as whole words, made once: a folder of thousands of files reads two incomes
// from each.
const std::vector<std::pair<const Period *, QRegularExpression>> &periodPatterns()
{
    static const std::vector<std::pair<const Period *, QRegularExpression>> patterns = [] {
        std::vector<std::pair<const Period *, QRegularExpression>> made;
        for (const Period &period : kPeriods)
            for (const char *word : period.words) {
                if (!word || !*word)
                    break;
                made.emplace_back(&period, QRegularExpression(QStringLiteral("(^|[^a-z])")
                                                              + QRegularExpression::escape(QString::fromLatin1(word))
                                                              + QStringLiteral("($|[^a-z])")));
            }
        return made;
    }();
    return patterns;
}

IncomeReading unread(const QString &why) { return {false, std::nullopt, why}; }

// Digits in groups of three after the first group.
bool groupsOfThree(const QStringList &groups)
{
    if (groups.isEmpty() || groups.front().isEmpty() || groups.front().size() > 3)
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3)
            return false;
    return true;
}

// The number a run of digits and separators stands for, or nothing when it could be read two ways.
std::optional<double> numberOf(QString token, QString &why)
{
    // Spaces, no-break spaces and apostrophes only ever group thousands.
    static const QRegularExpression spacing(QStringLiteral("[ \\x{00A0}\\x{202F}'\\x{2019}]"));
    if (token.contains(spacing)) {
        QString integer = token;
        QString fraction;
        const qsizetype decimal = std::max(token.lastIndexOf(QLatin1Char('.')), token.lastIndexOf(QLatin1Char(',')));
        if (decimal >= 0) {
            integer = token.left(decimal);
            fraction = token.mid(decimal + 1);
            if (fraction.size() > 2 || integer.contains(QLatin1Char('.')) || integer.contains(QLatin1Char(','))) {
                why = QStringLiteral("\"%1\" mixes separators").arg(token);
                return std::nullopt;
            }
        }
        if (!groupsOfThree(integer.split(spacing))) {
            why = QStringLiteral("\"%1\" is not grouped in thousands").arg(token);
            return std::nullopt;
        }
        integer.remove(spacing);
        return (integer + (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction)).toDouble();
    }
    const qsizetype dots = token.count(QLatin1Char('.')), commas = token.count(QLatin1Char(','));
    const auto plain = [](const QString &digits) { return digits.toDouble(); };
    if (dots == 0 && commas == 0)
        return plain(token);
    if (dots > 0 && commas > 0) {
        // The later one is the decimal mark, the other groups thousands: "42.000,50", "1,234.56".
        const QChar decimal = token.lastIndexOf(QLatin1Char('.')) > token.lastIndexOf(QLatin1Char(',')) ? QLatin1Char('.') : QLatin1Char(',');
        const QChar grouping = decimal == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        const qsizetype at = token.lastIndexOf(decimal);
        const QString integer = token.left(at), fraction = token.mid(at + 1);
        if (token.count(decimal) != 1 || fraction.size() > 2 || !groupsOfThree(integer.split(grouping))) {
            why = QStringLiteral("\"%1\" mixes separators in a way that can be read two ways").arg(token);
            return std::nullopt;
        }
        return plain(QString(integer).remove(grouping) + QLatin1Char('.') + fraction);
    }
    const QChar mark = dots > 0 ? QLatin1Char('.') : QLatin1Char(',');
    const QStringList parts = token.split(mark);
    if (parts.size() > 2) { // "1,234,567" or "1.234.567": only thousands
        if (!groupsOfThree(parts)) {
            why = QStringLiteral("\"%1\" is not grouped in thousands").arg(token);
            return std::nullopt;
        }
        return plain(QString(token).remove(mark));
    }
    if (parts[1].size() != 3) // "42,50", "20.5", "3.14159": a decimal mark
        return plain(parts[0] + QLatin1Char('.') + parts[1]);
    // Three digits after a lone mark. A comma groups thousands ("42,000"), as a decimal comma is
    // followed by cents; a lone dot is a thousands mark in much of Europe and a decimal point
    // elsewhere ("42.000"): that cannot be told.
    if (mark == QLatin1Char(',') && !parts[0].isEmpty() && parts[0].size() <= 3)
        return plain(parts[0] + parts[1]);
    why = QStringLiteral("\"%1\" could be %2 or %3").arg(token, parts[0] + parts[1], parts[0] + QLatin1Char('.') + parts[1]);
    return std::nullopt;
}

QString money(double amount)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(amount, 'f', amount == std::floor(amount) ? 0 : 2);
}

// A currency sign other than the dollar's in the text, or empty.
QString otherCurrencySign(const QString &text)
{
    for (const QChar ch : text)
        if (ch.category() == QChar::Symbol_Currency && ch != QLatin1Char('$'))
            return QString(ch);
    return {};
}

} // namespace

IncomeReading readIncome(const QString &typed)
{
    const QString text = typed.simplified();
    if (text.isEmpty())
        return {true, std::nullopt, QString()};
    if (const QString sign = otherCurrencySign(text); !sign.isEmpty())
        return unread(QStringLiteral("\"%1\" is in another currency (%2): only dollars are compared").arg(text, sign));
    QString rest = text.toLower();
    // A period written with a digit would pass for a second amount.
    rest.replace(QStringLiteral("every 2 weeks"), QStringLiteral("biweekly"));

    // The amount: one run of digits and separators, with an optional k or m after it.
    // ASCII digits only: other scripts' digits, superscripts and fractions are not read as numbers.
    static const QRegularExpression amount(QStringLiteral("([0-9](?:[0-9.,'\\x{2019} \\x{00A0}\\x{202F}]*[0-9])?)\\s?([km])?(?![a-z])"));
    QRegularExpressionMatchIterator matches = amount.globalMatch(rest);
    if (!matches.hasNext())
        return unread(QStringLiteral("no amount in \"%1\"").arg(text));
    const QRegularExpressionMatch match = matches.next();
    if (matches.hasNext())
        return unread(QStringLiteral("more than one amount in \"%1\"").arg(text));
    QString why;
    std::optional<double> number = numberOf(match.captured(1).trimmed(), why);
    if (!number)
        return unread(why);
    if (match.captured(2) == QLatin1String("k"))
        *number *= 1000;
    else if (match.captured(2) == QLatin1String("m"))
        *number *= 1000000;
    if (match.capturedStart() > 0 && rest.at(match.capturedStart() - 1) == QLatin1Char('-'))
        return unread(QStringLiteral("\"%1\" looks like a range or a negative amount").arg(text));
    rest.replace(match.capturedStart(), match.capturedLength(), QStringLiteral(" "));

    // The period: at most one.
    const Period *period = nullptr;
    for (const auto &[candidate, whole] : periodPatterns()) {
        if (rest.contains(whole)) {
            if (period && period != candidate)
                return unread(QStringLiteral("\"%1\" names two periods").arg(text));
            period = candidate;
            rest.replace(whole, QStringLiteral("\\1 \\2"));
        }
    }
    // What is left must say nothing more: currency signs and codes, "about", punctuation.
    bool approximate = false;
    static const QRegularExpression wordPattern(QStringLiteral("[a-z]+"));
    for (QRegularExpressionMatchIterator words = wordPattern.globalMatch(rest); words.hasNext();) {
        const QString word = words.next().captured(0);
        if (word == QLatin1String("about") || word == QLatin1String("approx") || word == QLatin1String("approximately")
            || word == QLatin1String("ca")) {
            approximate = true;
            continue;
        }
        if (kOtherCurrencies.contains(word))
            return unread(QStringLiteral("\"%1\" is in another currency (%2): only dollars are compared").arg(text, word.toUpper()));
        if (!kNeutralWords.contains(word))
            return unread(QStringLiteral("\"%1\" says more than an amount (\"%2\")").arg(text, word));
    }
    for (const QChar ch : rest) {
        if (ch.isSpace() || ch.isLetter() || ch.category() == QChar::Symbol_Currency || ch == QLatin1Char('/')
            || ch == QLatin1Char('.') || ch == QLatin1Char(':'))
            continue;
        if (ch == QLatin1Char('~')) {
            approximate = true;
            continue;
        }
        return unread(QStringLiteral("\"%1\" holds \"%2\" besides the amount").arg(text, QString(ch)));
    }
    const double annual = *number * (period ? period->perYear : 1);
    if (annual < kLeastLikelyYear && !period)
        return unread(QStringLiteral("$%1 a year is unlikely: say whether it is an hour, a week or a month").arg(money(*number)));
    if (annual < kLeastLikelyYear || annual > kMostLikelyYear)
        return unread(QStringLiteral("$%1 a year is unlikely (\"%2\")").arg(money(annual), text));

    IncomeReading reading;
    reading.annual = annual;
    if (period && period->perYear != 1)
        reading.note = QStringLiteral("%1 %2%3 = %4 a year").arg(money(*number), QLatin1String(period->name),
                                                                 period->perYear == 40.0 * 52 ? QStringLiteral(" \u00d7 40 hours \u00d7 52 weeks")
                                                                                              : QStringLiteral(" \u00d7 %1").arg(period->perYear),
                                                                 money(*reading.annual));
    if (approximate)
        reading.note = (reading.note.isEmpty() ? QString() : reading.note + QStringLiteral("; ")) + QStringLiteral("given as approximate");
    return reading;
}

std::optional<double> readRent(const QString &typed)
{
    QString text = typed.simplified();
    if (!otherCurrencySign(text).isEmpty())
        return std::nullopt; // the incomes are compared in dollars
    while (!text.isEmpty() && (text.front() == QLatin1Char('$') || text.front().isSpace()))
        text.remove(0, 1);
    while (!text.isEmpty() && (text.back() == QLatin1Char('$') || text.back().isSpace()))
        text.chop(1);
    static const QRegularExpression number(QStringLiteral("^[0-9][0-9.,' ]*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString why;
    const std::optional<double> amount = numberOf(text, why);
    if (!amount || !(*amount > 0))
        return std::nullopt;
    return amount;
}

MinimumReading readMinimum(const QString &typed)
{
    const QString text = typed.trimmed();
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]*(?:\\.[0-9]*)?$"));
    if (text.isEmpty() || text == QLatin1String(".") || !decimal.match(text).hasMatch())
        return {std::nullopt, QStringLiteral("\"%1\" is not a number: type the multiple as 3 or 2.5").arg(text)};
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0 && text.size() - point - 1 > 2)
        return {std::nullopt, QStringLiteral("%1 has more than two decimals").arg(text)};
    const double value = text.toDouble();
    if (!(value > 0))
        return {std::nullopt, QStringLiteral("The minimum must be more than 0 (%1 was typed)").arg(text)};
    if (value > kHighestMinimum)
        return {std::nullopt, QStringLiteral("The minimum can be at most %1 \u00d7 the rent (%2 was typed)").arg(kHighestMinimum).arg(text)};
    return {value, QString()};
}

IncomeReading combineIncomes(const IncomeReading &first, const IncomeReading &second)
{
    if (first.empty && second.empty)
        return {true, std::nullopt, QString()};
    for (const IncomeReading *part : {&first, &second})
        if (!part->empty && !part->annual)
            return unread(part->note);
    return {false, first.annual.value_or(0) + second.annual.value_or(0), QString()};
}

} // namespace compare
