#include "entry/StartCommand.h"

#include "ScriptedMessageBoxes.h"
#include "runtime/AppError.h"

#include <gtest/gtest.h>

namespace {

TEST(StartCommand, RunsUnderTheBusyPointerAndAClickDuringARunStartsNoSecondRun)
{
    std::vector<shell::Pointer> pointers;
    int runs = 0;
    entry::StartCommand *self = nullptr;
    entry::StartCommand command([&](shell::Pointer p) { pointers.push_back(p); }, [&] {
        ++runs;
        self->click(); // delivered while the run is under way
    });
    self = &command;
    command.click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(pointers, (std::vector<shell::Pointer>{shell::Pointer::Busy, shell::Pointer::Default}));
    EXPECT_FALSE(command.busy());
    command.click();
    EXPECT_EQ(runs, 2);
}

TEST(StartCommand, AFailingRunIsReportedAndStillEndsIdleWithTheDefaultPointer)
{
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope(boxes);
    std::vector<shell::Pointer> pointers;
    entry::StartCommand command([&](shell::Pointer p) { pointers.push_back(p); },
                                [] { throw runtime::AppError(QStringLiteral("boom")); });
    command.click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Form1.PushButton1_Click at line 106")));
    EXPECT_EQ(pointers.back(), shell::Pointer::Default);
    EXPECT_FALSE(command.busy());
}

} // namespace
