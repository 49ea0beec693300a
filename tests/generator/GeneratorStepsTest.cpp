#include "RecordingEngine.h"
#include "RecordingGenerationHost.h"
#include "ScriptedMessageBoxes.h"
#include "entry/RecordWidgets.h"
#include "generator/FormLayout.h"
#include "generator/OutputFiles.h"
#include "generator/RentalApplication.h"

#include <QDir>
#include <QRegularExpression>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using namespace generator;

namespace {

class GeneratorStepsTest : public ::testing::Test {
protected:
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir temp;
    testsupport::RecordingEngine engine;
    testsupport::RecordingGenerationHost host;

    void generate() { generateRentalApplication(engine, host, {temp.path(), {}}); }

    // Fails the first call that matches and returns the report's line, or -1 when none came.
    int labelOfFailureAt(const std::function<bool(const QString &)> &when, const char *procedure =
                             "RentalApplication.GenerateRentalApplication")
    {
        engine.log->failWhen = when;
        generate();
        for (const auto &shown : boxes.shown) {
            const QString marker = QStringLiteral("in Quenlow2021/08/31.") + QLatin1String(procedure) +
                QStringLiteral(" at line ");
            const qsizetype at = shown.text.indexOf(marker);
            if (at >= 0)
                return shown.text.mid(at + marker.size()).section(QLatin1Char('\r'), 0, 0).toInt();
        }
        return -1;
    }
};

TEST_F(GeneratorStepsTest, CleanRunIssuesEveryStepAndHandsTheResultOver)
{
    generate();
    EXPECT_TRUE(boxes.shown.empty());
    const QStringList &calls = engine.log->calls;
    const qsizetype addAt = calls.indexOf(QStringLiteral("Tables.Add(43,3,1,0)"));
    const qsizetype saveAt = calls.indexOf(QRegularExpression(QStringLiteral("Document\\.SaveAs:.*")));
    ASSERT_GT(addAt, 0);
    // Steps 164 to 1036: five table-style steps and the 432 steps of the walk, one call each.
    EXPECT_EQ(saveAt - addAt - 1, 5 + 432);
    EXPECT_EQ(calls.count(QStringLiteral("Factory.createNew")), 2);
    EXPECT_EQ(calls.count(QStringLiteral("Application.Quit")), 2);
    EXPECT_EQ(host.events, (QStringList{"pointer", "picture", "file", "show", "hide"}));
    EXPECT_FALSE(host.picture.isNull());
    EXPECT_TRUE(QFileInfo(host.wordFile).fileName().startsWith(QStringLiteral("qarvel")));
    EXPECT_EQ(QFileInfo(host.wordFile).absolutePath(), QFileInfo(temp.path()).absoluteFilePath());
    EXPECT_FALSE(QFile::exists(pageImagePath(temp.path())));
    EXPECT_TRUE(QFile::exists(host.wordFile));
}

TEST_F(GeneratorStepsTest, TitleRowSpansSteps174To202)
{
    EXPECT_EQ(labelOfFailureAt([](const QString &c) { return c == "MoveRight(1,3,1)"; }), 174);
    boxes.shown.clear();
    engine.log->failed = false;
    EXPECT_EQ(labelOfFailureAt([](const QString &c) { return c == "Shading.BackgroundPatternColor=14478320"; }), 184);
    boxes.shown.clear();
    engine.log->failed = false;
    EXPECT_EQ(labelOfFailureAt([](const QString &c) { return c == "Cells.VerticalAlignment=1"; }), 202);
}

TEST_F(GeneratorStepsTest, FailuresAreReportedWithTheirStepAndTheRunGoesOnToTheEnd)
{
    struct Case {
        const char *call;
        int occurrence;
        int label;
    };
    const Case cases[] = {
        {"PageSetup.TopMargin=43.2", 1, 112},
        {"PageSetup.GutterPos=0", 1, 154},
        {"Font.Name=Tahoma", 1, 156},
        {"Table.Style=Table Grid", 1, 164},
        {"MoveRight(1,2,0)", 1, 204},
        {"TypeText:Name: Ann", 1, 240},
        {"MoveDown(5,1)", 2, 978},
        {"Rows.Height=14.4", 33, 982},
        {"TypeText:\r\nDate:", 2, 1034},
        {"Cells.VerticalAlignment=1", 78, 1036},
        {"Application.Quit", 1, 1060},
    };
    host.widgets.text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("Ann"));
    for (const Case &c : cases) {
        boxes.shown.clear();
        host.events.clear();
        engine.log->calls.clear();
        engine.log->failed = false;
        int seen = 0;
        const QString call = QString::fromUtf8(c.call);
        EXPECT_EQ(labelOfFailureAt([&](const QString &made) { return made == call && ++seen == c.occurrence; }),
                  c.label)
            << c.call;
        EXPECT_EQ(boxes.shown.size(), 1u) << c.call;
        EXPECT_EQ(host.events.last(), QStringLiteral("hide")) << c.call;
    }
}

TEST_F(GeneratorStepsTest, PageRenderingStepsAre116To126AndTheRenderingInstanceIsAlwaysQuit)
{
    EXPECT_EQ(labelOfFailureAt([&](const QString &c) { return c == "Range.copyAsPicture"; },
                               "RentalApplication.SaveDocAsJPG"),
              120);
    // No picture: one report for the one cause; the instance is still closed and quit, and no
    // preview without its page is shown.
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(engine.log->calls.count(QStringLiteral("Application.Quit")), 2);
    EXPECT_TRUE(engine.log->calls.contains(QStringLiteral("Document.Close(0)")));
    EXPECT_FALSE(host.events.contains(QStringLiteral("show")));
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << QDir(temp.path()).entryList().join(u' ').toStdString();
}

// An engine call that gives no object is reported as VBA reports it, under the trap, never a crash.
TEST_F(GeneratorStepsTest, MissingObjectsAreReportedAsObjectVariableNotSet)
{
    const struct {
        const char *call;
        const char *where;
    } cases[] = {
        {"Documents.Add", "GenerateRentalApplication at line 104"},
        {"ActiveDocument", "GenerateRentalApplication at line 160"},
        {"Documents.Open", "SaveDocAsJPG at line 118"},
    };
    for (const auto &c : cases) {
        boxes.shown.clear();
        host.events.clear();
        engine.log->givesNothing = QStringList{QString::fromLatin1(c.call)};
        generate();
        ASSERT_FALSE(boxes.shown.empty()) << c.call;
        EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Object variable not set.")))
            << c.call << ": " << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(boxes.shown[0].text.contains(QLatin1String(c.where))) << boxes.shown[0].text.toStdString();
    }
}

// A temporary folder that is missing or refuses files: one report naming the folder's file and
// the system's reason, nothing left behind, and no preview of a document that does not exist.
TEST_F(GeneratorStepsTest, TemporaryDocumentThatCannotBeCreatedOrSavedIsOneReportAndNoPreview)
{
    const QString missing = temp.filePath(QStringLiteral("no such folder"));
    generateRentalApplication(engine, host, {missing, [] { return 3; }});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("The temporary document %1/qarvel33333333.doc could not be created: No such file or directory")
            .arg(missing)))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(host.events.contains(QStringLiteral("show")));

    boxes.shown.clear();
    engine.log->failWhen = [](const QString &call) { return call.startsWith(QStringLiteral("Document.SaveAs:")); };
    generate();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("at line 1054")));
    EXPECT_FALSE(host.events.contains(QStringLiteral("show")));
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "the claimed name is given back";
    EXPECT_FALSE(engine.log->calls.filter(QStringLiteral("Documents.Open")).size() > 0);
}

TEST_F(GeneratorStepsTest, RunningInstanceAsksAndOnlyYesGoesOn)
{
    engine.running = engine.createNew();
    engine.log->calls.clear();
    boxes.answers = {runtime::BoxAnswer::No};
    generate();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].question);
    EXPECT_TRUE(boxes.shown[0].text.endsWith(QStringLiteral("\r\n\r\nWould you like to proceed anyway?")));
    EXPECT_EQ(engine.log->calls, QStringList{QStringLiteral("Factory.getRunning")});
    EXPECT_TRUE(host.events.isEmpty());

    boxes.answers = {runtime::BoxAnswer::Dismissed};
    generate();
    EXPECT_TRUE(host.events.isEmpty());

    boxes.answers = {runtime::BoxAnswer::Yes};
    generate();
    EXPECT_EQ(host.events.last(), QStringLiteral("hide"));
}

TEST(FormLayoutText, ChoiceWordsAndVerbatimTextsFillTheCells)
{
    QWidget owner;
    entry::RecordWidgets record = entry::createRecordControls(&owner);
    const auto rows = formRows();
    EXPECT_EQ(cellText(rows[6].cells[0], record), QStringLiteral("House: Own"));
    EXPECT_EQ(cellText(rows[15].cells[1], record), QStringLiteral("Salary: Hourly"));
    record.option(QStringLiteral("optAppInfoCurrentRent"))->setChecked(true);
    record.option(QStringLiteral("optAppInfoEmpInfoSalary"))->setChecked(true);
    EXPECT_EQ(cellText(rows[6].cells[0], record), QStringLiteral("House: Rent"));
    EXPECT_EQ(cellText(rows[15].cells[1], record), QStringLiteral("Salary: Salary"));
    EXPECT_EQ(cellText(rows[3].cells[2], record), QStringLiteral("Phone: "));
    record.text(QStringLiteral("txtAppInfoPhone"))->setText(QStringLiteral("  555  "));
    EXPECT_EQ(cellText(rows[3].cells[2], record), QStringLiteral("Phone:   555  "));
}

TEST(FormLayoutText, SecondAndThirdReferencesAreNeverRead)
{
    for (const RowSpec &row : formRows())
        for (const CellSpec &cell : row.cells)
            for (const char *hidden : {"txtName2", "txtAddress2", "txtPhone2", "txtName3", "txtAddress3", "txtPhone3"})
                EXPECT_STRNE(cell.field, hidden);
}

} // namespace
