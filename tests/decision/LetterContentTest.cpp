// What a conditional approval's letter says of its conditions: the amounts in dollars as a reader
// expects them, whatever way the landlord typed them.
#include "decision/Letters.h"

#include <gtest/gtest.h>

namespace {

TEST(LetterContent, ConditionAmountsAreSaidInDollars)
{
    decision::LetterInput input;
    input.record = {{QStringLiteral("App Info Name"), QStringLiteral("Ana Ruiz")},
                    {QStringLiteral("App Info Current Address"), QStringLiteral("10 Elm Street")}};
    input.vacancy.unitAddress = QStringLiteral("12 Birch Lane");
    input.vacancy.landlordName = QStringLiteral("Marrowick Rentals");
    input.decision.status = decision::Status::ApprovedWithConditions;
    input.decision.date = QDate(2025, 3, 3);
    input.decision.conditions.deposit = true;
    input.decision.conditions.depositAmount = QStringLiteral("2500");
    input.decision.conditions.higherRent = true;
    input.decision.conditions.rentAmount = QStringLiteral("1,650.50");
    input.date = QDate(2025, 3, 4);
    QString text;
    for (const decision::LetterParagraph &paragraph : decision::letterContent(decision::LetterKind::Approval, input))
        text += paragraph.text + QLatin1Char('\n');
    EXPECT_TRUE(text.contains(QStringLiteral("a security deposit of $2,500"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("a monthly rent of $1,650.50"))) << text.toStdString();
}

} // namespace
