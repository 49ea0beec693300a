// Every interaction of a generation with the engine fails once, in turn: the call throws, or an
// object fetch answers null. Each failure must be reported with its step, the run must reach its
// end (the preview is shown and the main window hidden), and nothing may crash.
#include "RecordingEngine.h"
#include "ScriptedMessageBoxes.h"
#include "entry/RecordWidgets.h"
#include "generator/RentalApplication.h"
#include "RecordingGenerationHost.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace generator;

namespace {


struct Report {
    QString procedure;
    int label = -1;
};

std::vector<Report> reportsOf(const testsupport::ScriptedMessageBoxes &boxes)
{
    static const QRegularExpression location(
        QStringLiteral("\r\nin Quenlow2021/08/31\\.RentalApplication\\.(\\w+) at line (\\d+)\r\r"));
    std::vector<Report> reports;
    for (const auto &shown : boxes.shown) {
        const auto match = location.match(shown.text);
        reports.push_back(match.hasMatch() ? Report{match.captured(1), match.captured(2).toInt()} : Report{});
    }
    return reports;
}

struct Outcome {
    std::vector<Report> reports;
    QStringList events;
    int interactions = 0;
};

class GeneratorFaultSweep : public ::testing::Test {
protected:
    QTemporaryDir temp;
    testsupport::RecordingGenerationHost host;

    Outcome generateFailing(int failAt, bool answerNull)
    {
        testsupport::ScriptedMessageBoxes boxes;
        runtime::ScopedMessageBoxes scope{boxes};
        testsupport::RecordingEngine engine;
        engine.log->failAt = failAt;
        engine.log->answerNull = answerNull;
        host.events.clear();
        host.wordFile.clear();
        generateRentalApplication(engine, host, {temp.path(), {}});
        if (!host.wordFile.isEmpty())
            QFile::remove(host.wordFile);
        for (const auto &shown : boxes.shown)
            EXPECT_EQ(shown.title, QStringLiteral("Application Error"));
        return {reportsOf(boxes), host.events, engine.log->interactions};
    }
};

TEST_F(GeneratorFaultSweep, EveryFailingInteractionIsReportedAtItsStepAndOnlyADocumentThatExistsIsPreviewed)
{
    ASSERT_TRUE(temp.isValid());
    const Outcome clean = generateFailing(0, false);
    ASSERT_TRUE(clean.reports.empty());
    ASSERT_GT(clean.interactions, 800); // about two per step

    // The first interaction is the running-instance guard's look for a running engine, whose
    // failure the guard takes as "none running", silently, and the run goes on.
    const Outcome guardFails = generateFailing(1, false);
    EXPECT_TRUE(guardFails.reports.empty());
    EXPECT_EQ(guardFails.events.last(), QStringLiteral("hide"));

    const QStringList wholeRun{"pointer", "picture", "file", "show", "hide"};
    std::set<int> generatorLabels;
    for (bool answerNull : {false, true}) {
        int previousLabel = 0;
        for (int k = 2; k <= clean.interactions; ++k) {
            const Outcome run = generateFailing(k, answerNull);
            ASSERT_FALSE(run.reports.empty()) << "interaction " << k << " failed unreported";
            const Report &first = run.reports.front();
            ASSERT_GE(first.label, 100) << "interaction " << k;
            // The preview opens unless the document could not be saved or its page not drawn:
            // a preview of nothing is not shown, and the reports said why.
            const bool unsaved = std::any_of(run.reports.begin(), run.reports.end(), [](const Report &r) {
                return (r.procedure == QLatin1String("GenerateRentalApplication") && r.label == 1054)
                       || (r.procedure == QLatin1String("SaveDocAsJPG") && r.label <= 122);
            });
            if (unsaved)
                EXPECT_FALSE(run.events.contains(QStringLiteral("show"))) << "interaction " << k;
            else
                EXPECT_EQ(run.events.mid(run.events.size() - 2), wholeRun.mid(3)) << "interaction " << k;
            if (first.procedure == QLatin1String("GenerateRentalApplication")) {
                // Interactions come in the order of the steps.
                EXPECT_GE(first.label, previousLabel) << "interaction " << k;
                previousLabel = first.label;
                if (!answerNull)
                    generatorLabels.insert(first.label);
            } else {
                EXPECT_EQ(first.procedure, QStringLiteral("SaveDocAsJPG")) << "interaction " << k;
                EXPECT_TRUE(first.label >= 116 && first.label <= 126) << "interaction " << k;
            }
        }
    }

    // Every step from 102 to 1036 talks to the engine, except 162, which only holds the table.
    std::set<int> expected;
    for (int label = 102; label <= 1036; label += 2)
        if (label != 162)
            expected.insert(label);
    // Saving, closing and quitting the document.
    for (int label : {1054, 1056, 1058, 1060})
        expected.insert(label);
    EXPECT_EQ(generatorLabels, expected);
}

} // namespace
