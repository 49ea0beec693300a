#include "runtime/ErrorTrap.h"

#include "BuildConfig.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

using runtime::AppError;
using runtime::ErrorTrap;

namespace {

class ErrorTrapTest : public ::testing::Test {
protected:
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};

    QString support() const { return QString::fromUtf8(runtime::build::kSupportEmail); }
};

// A procedure without a trap: its failure ends it at once and travels to the caller.
void untrappedHelper(int &reached)
{
    reached = 1;
    throw AppError(QStringLiteral("helper failed"));
    reached = 2;
}

TEST_F(ErrorTrapTest, ReportTextHasDescriptionLocationLabelAndRequestInExactOrder)
{
    ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    trap.line(104, [] { throw AppError(QStringLiteral("D")); });

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(boxes.shown[0].icon, runtime::BoxIcon::Warning);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("D\r\nin Quenlow2021/08/31.Form1.Form_Load at line 104\r\r"
                             "Please email screenshot of this message to ")
                  + support());
}

TEST_F(ErrorTrapTest, FailureBeforeFirstLabelIsReportedAtLineZero)
{
    ErrorTrap trap(QStringLiteral("Form2"), QStringLiteral("picture1_MouseDown"));
    trap.run([] { throw AppError(QStringLiteral("early")); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Form2.picture1_MouseDown at line 0\r\r")));
}

TEST_F(ErrorTrapTest, ConsecutiveFailuresGiveOneBoxEachAndTheProcedureRunsToItsEnd)
{
    ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
    bool ranAfter = false;
    trap.line(100, [] { throw AppError(QStringLiteral("first")); });
    trap.line(102, [] { throw std::runtime_error("second"); });
    trap.line(104, [&] { ranAfter = true; });

    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("first\r\n")));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("at line 100\r\r")));
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("second\r\n")));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("at line 102\r\r")));
    EXPECT_TRUE(ranAfter);
}

TEST_F(ErrorTrapTest, FailingConditionRunsTheBlockBody)
{
    ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    EXPECT_TRUE(trap.test(106, []() -> bool { throw AppError(QStringLiteral("x")); }));
    EXPECT_FALSE(trap.test(108, [] { return false; }));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(ErrorTrapTest, UntrappedCalleeIsReportedWithCallersLocationAndLabelAndRestIsSkipped)
{
    ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    int reached = 0;
    trap.line(100, [&] { untrappedHelper(reached); });
    EXPECT_EQ(reached, 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("helper failed\r\nin Quenlow2021/08/31.Form1.Form_Load at line 100\r\r")));
}

TEST_F(ErrorTrapTest, VariableOfFailedStatementKeepsItsPreviousValue)
{
    ErrorTrap trap(QStringLiteral("RentalApplication"), QStringLiteral("GenerateRentalApplication"));
    int value = 5;
    trap.line(102, [&] {
        const int computed = [] () -> int { throw AppError(QStringLiteral("no")); }();
        value = computed;
    });
    EXPECT_EQ(value, 5);
}

} // namespace
