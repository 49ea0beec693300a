#include "shell/AppTitle.h"
#include "runtime/AppError.h"
#include "shell/Startup.h"
#include "entry/StartupWordCheck.h"

#include "BuildConfig.h"
#include "ScriptedMessageBoxes.h"
#include "automation/WordAutomation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordingStartupServices.h"

#include <cstdio>
#include <cstdlib>

using namespace shell;
using namespace runtime;

namespace {

using RecordingServices = testsupport::RecordingStartupServices;

class FakeInstance final : public automation::Application {
public:
    explicit FakeInstance(int &quits, bool quitFails) : m_quits(quits), m_quitFails(quitFails) {}
    QString name() const override { return QStringLiteral("Fake"); }
    std::shared_ptr<automation::Documents> documents() override { return nullptr; }
    std::shared_ptr<automation::Document> activeDocument() override { return nullptr; }
    double inchesToPoints(double inches) const override { return inches * 72; }
    void setDisplayAlerts(bool) override {}
    void quit() override
    {
        ++m_quits;
        if (m_quitFails)
            throw AppError(QStringLiteral("quit failed"));
    }

private:
    int &m_quits;
    bool m_quitFails;
};

class FakeFactory final : public automation::ApplicationFactory {
public:
    bool creates = true;
    bool quitFails = false;
    int quits = 0;
    std::shared_ptr<automation::Application> createNew() override
    {
        if (!creates)
            throw AppError(QStringLiteral("cannot start"));
        return std::make_shared<FakeInstance>(quits, quitFails);
    }
    std::shared_ptr<automation::Application> getRunning() override { return nullptr; }
};

TEST(ApplicationTitle, CutsBeforeTheLastSpaceAtLeastOnceAndWhileLongerThanForty)
{
    EXPECT_EQ(deriveApplicationTitle(QStringLiteral("Tenvoria")), QStringLiteral("Tenvoria"));
    EXPECT_EQ(deriveApplicationTitle(QStringLiteral("Tenvoria Rental Application")),
              QStringLiteral("Tenvoria Rental"));
    // Exactly 40 after the first cut: no second cut.
    const QString forty = QStringLiteral("Marrowick Residential Rental Application"); // 40 characters
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(deriveApplicationTitle(forty + QStringLiteral(" Builder")), forty);
    // Longer than 40 after a cut: cut again until it fits.
    EXPECT_EQ(deriveApplicationTitle(forty + QStringLiteral("s Form Builder")),
              QStringLiteral("Marrowick Residential Rental"));
    // A single long word has nothing to cut.
    const QString word(45, QLatin1Char('x'));
    EXPECT_EQ(deriveApplicationTitle(word), word);
}

TEST(EndProgram, StopsTheProcessAtOnceWithoutRunningExitHandlers)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("exit handler ran", stderr); });
            StartupServices().endProgram();
            std::fputs("returned", stderr);
        },
        ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("ran")));
}

TEST(HomePageRoll, OnlySevenOpensTheHomePageThroughTheDesktop)
{
    RecordingServices services;
    ScopedStartupServices scope(services);
    for (int roll : {1, 6, 8, 99, 100}) {
        services.roll = roll;
        rollForHomePage();
    }
    EXPECT_TRUE(services.opened.isEmpty());

    services.roll = 7;
    rollForHomePage();
    ASSERT_EQ(services.opened.size(), 1);
    EXPECT_EQ(services.opened[0], QUrl(QString::fromUtf8(runtime::build::kHomePage)));

    // A desktop that cannot open it is an error for the load's trap to report.
    services.urlOpens = false;
    EXPECT_THROW(rollForHomePage(), AppError);
}

TEST(HomePageRoll, RealRollStaysWithinOneToAHundred)
{
    StartupServices real;
    for (int i = 0; i < 2000; ++i) {
        const int roll = real.drawHomePageRoll();
        ASSERT_GE(roll, 1);
        ASSERT_LE(roll, 100);
    }
}

class WordCheckTest : public ::testing::Test {
protected:
    testsupport::ScriptedMessageBoxes boxes;
    ScopedMessageBoxes boxScope{boxes};
    RecordingServices services;
    ScopedStartupServices serviceScope{services};
    FakeFactory factory;
    QString previousTitle = applicationTitle();
    void TearDown() override { setApplicationTitle(previousTitle); }
};

TEST_F(WordCheckTest, WorkingEngineIsStartedAndQuitSilently)
{
    EXPECT_TRUE(entry::checkWordAvailable(factory));
    EXPECT_EQ(factory.quits, 1);
    // A failing quit is ignored too.
    factory.quitFails = true;
    EXPECT_TRUE(entry::checkWordAvailable(factory));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(services.ends, 0);
}

TEST_F(WordCheckTest, MissingEngineShowsTheExactMessageUnderTheApplicationTitleThenEnds)
{
    setApplicationTitle(QStringLiteral("Title Under Test"));
    factory.creates = false;
    EXPECT_FALSE(entry::checkWordAvailable(factory));

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Title Under Test"));
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
    EXPECT_FALSE(boxes.shown[0].question);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral(
                  "Error 842001. A normal instance of Word could not be created.\r\n\r\n"
                  "1. Please make sure Word is installed on this computer.\r\n\r\n"
                  "2. Please open Word normally and make sure a blank document opens immediately without any "
                  "interrupting window (such as an Word file recovery window).\r\n\r\n"
                  "3. Please make sure that when you double-click on a DOC or DOCX file that Word opens normally "
                  "without any interrupting messages.\r\n\r\n"
                  "4. All versions of Word are supported by this software except for the rare Word Starter and "
                  "Student editions."));
    EXPECT_EQ(services.ends, 1);
    EXPECT_EQ(factory.quits, 0);
}

} // namespace
