// What the command line asks for: one applicant file, a folder of applicants, help, the version;
// anything else is named in a notice and left, and the program starts as usual.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = app::CommandLine::Action;

TEST(CommandLine, OneFileHelpAndVersionAreTakenAndEverythingElseIsIgnoredWithANotice)
{
    struct Case {
        QStringList arguments;
        Action action;
        const char *file;
        const char *noticeNames; // empty: no notice
    };
    const std::vector<Case> cases = {
        {{}, Action::Run, "", ""},
        {{"a.tenvoria"}, Action::Run, "a.tenvoria", ""},
        {{"file:///home/ana/J%C3%BCrgen%20R.tenvoria"}, Action::Run, "/home/ana/J\u00fcrgen R.tenvoria", ""},
        {{"--", "-dash.tenvoria"}, Action::Run, "-dash.tenvoria", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"-h"}, Action::Help, "", ""},
        {{"--bogus", "--version"}, Action::Version, "", ""}, // help and version answer a faulty line too
        {{"--bogus", "a.tenvoria"}, Action::Run, "a.tenvoria", "--bogus"},
        {{"a.tenvoria", "b.tenvoria"}, Action::Run, "a.tenvoria", "b.tenvoria"},
        {{"--applicants"}, Action::Run, "", "--applicants"},
        {{"--odd\nline"}, Action::Run, "", "--odd?line"},
    };
    for (const Case &c : cases) {
        const app::CommandLine line = app::readCommandLine(QStringList{QStringLiteral("tenvoria")} + c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(line.action, c.action) << what;
        EXPECT_EQ(line.applicantFile, QString::fromUtf8(c.file)) << what;
        EXPECT_TRUE(line.applicantsFolder.isEmpty()) << what;
        const QString notice = app::ignoredNotice(line);
        if (*c.noticeNames) {
            EXPECT_TRUE(notice.startsWith(QLatin1String("tenvoria: ignoring ")) && notice.contains(QString::fromUtf8(c.noticeNames))
                        && notice.count(QLatin1Char('\n')) == 1 && notice.endsWith(QLatin1Char('\n')))
                << what << ": " << notice.toStdString();
        } else {
            EXPECT_TRUE(notice.isEmpty()) << what << ": " << notice.toStdString();
        }
    }
    EXPECT_TRUE(app::usageText().contains(QLatin1String("--version")));
    const app::CommandLine compare = app::readCommandLine({QStringLiteral("tenvoria"), QStringLiteral("--applicants"),
                                                          QStringLiteral("/srv/flat 3"), QStringLiteral("a.tenvoria")});
    EXPECT_EQ(compare.action, Action::Run);
    EXPECT_EQ(compare.applicantsFolder, QStringLiteral("/srv/flat 3"));
    EXPECT_EQ(compare.applicantFile, QStringLiteral("a.tenvoria"));
    EXPECT_TRUE(compare.ignored.isEmpty());
}

} // namespace
