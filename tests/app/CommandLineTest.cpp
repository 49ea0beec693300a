// What the command line asks for: one applicant file, help, the version; anything else is a
// mistake said on the terminal rather than silently ignored.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = app::CommandLine::Action;

TEST(CommandLine, OneFileHelpAndVersionAreTakenAndEverythingElseIsAMistake)
{
    struct Case {
        QStringList arguments;
        Action action;
        const char *file;
        const char *mistakeNames;
    };
    const std::vector<Case> cases = {
        {{}, Action::Run, "", ""},
        {{"a.tenvoria"}, Action::Run, "a.tenvoria", ""},
        {{"file:///home/ana/J%C3%BCrgen%20R.tenvoria"}, Action::Run, "/home/ana/J\u00fcrgen R.tenvoria", ""},
        {{"--", "-dash.tenvoria"}, Action::Run, "-dash.tenvoria", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"-h"}, Action::Help, "", ""},
        {{"--bogus", "--version"}, Action::Version, "", ""}, // help and version answer a faulty line too
        {{"--bogus"}, Action::Mistake, "", "--bogus"},
        {{"a.tenvoria", "b.tenvoria"}, Action::Mistake, "", "b.tenvoria"},
    };
    for (const Case &c : cases) {
        if (c.action == Action::Run)
            EXPECT_TRUE(app::readCommandLine(QStringList{QStringLiteral("tenvoria")} + c.arguments).applicantsFolder.isEmpty());
        const app::CommandLine line = app::readCommandLine(QStringList{QStringLiteral("tenvoria")} + c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(line.action, c.action) << what;
        EXPECT_EQ(line.applicantFile, QString::fromUtf8(c.file)) << what;
        EXPECT_TRUE(line.mistake.contains(QString::fromUtf8(c.mistakeNames))) << what << ": " << line.mistake.toStdString();
    }
    EXPECT_TRUE(app::usageText().contains(QLatin1String("--version")));
    const app::CommandLine compare = app::readCommandLine({QStringLiteral("tenvoria"), QStringLiteral("--applicants"),
                                                          QStringLiteral("/srv/flat 3"), QStringLiteral("a.tenvoria")});
    EXPECT_EQ(compare.action, Action::Run);
    EXPECT_EQ(compare.applicantsFolder, QStringLiteral("/srv/flat 3"));
    EXPECT_EQ(compare.applicantFile, QStringLiteral("a.tenvoria"));
    EXPECT_EQ(app::readCommandLine({QStringLiteral("tenvoria"), QStringLiteral("--applicants")}).action, Action::Mistake);
}

} // namespace
