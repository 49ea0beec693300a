// The real generator through the real built-in engine, for an empty, the sample and a hostile
// record: what lands in the saved .doc, what the engine drew, and what other readers make of it.
#include "ScriptedMessageBoxes.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/FormLayout.h"
#include "generator/RentalApplication.h"
#include "generator/WordGuard.h"
#include "runtime/ErrorTrap.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/editing/Editor.h"
#include "wordproc/layout/PageRenderer.h"
#include "RecordingGenerationHost.h"
#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <optional>

using namespace generator;

// Failures show texts readably: control characters escaped, long texts cut.
void PrintTo(const QString &text, std::ostream *out)
{
    QString shown;
    for (const QChar c : text.left(160))
        shown += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    *out << '"' << shown.toStdString() << (text.size() > 160 ? "\"..." : "\"") << " (" << text.size() << " chars)";
}

namespace {

enum class Record { Empty, Sample, Hostile };

void PrintTo(Record record, std::ostream *out)
{
    *out << (record == Record::Empty ? "empty" : record == Record::Sample ? "sample" : "hostile") << " record";
}

QString controlCharacters()
{
    QString text = QStringLiteral("A");
    for (char16_t c = 0x01; c < 0x20; ++c)
        text += QChar(c);
    return text + QStringLiteral("Z\r\n\x07\x0c\x13\x14\x15|");
}

QString repeatedTo(const QString &piece, qsizetype length) { return piece.repeated(length / piece.size() + 1).left(length); }

// The values the hostile record cycles through its text fields.
QStringList hostileValues()
{
    return {
        controlCharacters(),
        repeatedTo(QStringLiteral("lorem ipsum dolor "), 10000),
        QStringLiteral("山田太郎 東京都千代田区丸の内 서울특별시 中文"),
        QStringLiteral("\U0001F600 \U0001F469\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466 "
                       "\U0001F3F3\uFE0F\u200D\U0001F308 \U0001F44D\U0001F3FD"),
        QStringLiteral("שלום עולם مرحبا بالعالم 123"),
        QStringLiteral("<b>bold</b> {\\rtf1\\ansi x} &amp; %s %n ${x} \\\\host\\share"),
        QString(QChar(0xD800)) + QStringLiteral("lone") + QChar(0xDC00) + QChar(0xFFFE) + QChar(0xFFFF) + QStringLiteral("end"),
        QString(10000, QLatin1Char('x')),
    };
}

void fill(const entry::RecordWidgets &record, Record kind)
{
    if (kind == Record::Sample) {
        runtime::ErrorTrap trap(QStringLiteral("FormEndToEndTest"), QStringLiteral("fill"));
        entry::loadSampleData(record, trap);
    } else if (kind == Record::Hostile) {
        const QStringList values = hostileValues();
        qsizetype i = 0;
        for (const record::TextFieldSpec &field : record::textFields())
            record.text(QLatin1String(field.id))->setText(values[i++ % values.size()]);
        for (const record::ChoiceSpec &choice : record::choices())
            record.option(QLatin1String(choice.secondId))->setChecked(true);
    }
}


// A cell's paragraphs as one text, a CR between paragraphs.
QString textOf(const wordproc::Cell &cell)
{
    QStringList paragraphs;
    for (const wordproc::Paragraph &paragraph : cell.paragraphs)
        paragraphs << paragraph.text();
    return paragraphs.join(QLatin1Char('\r'));
}

std::vector<int> widthsOf(const wordproc::Row &row)
{
    std::vector<int> widths;
    for (const wordproc::Cell &cell : row.cells)
        widths.push_back(cell.widthTwips);
    return widths;
}

const wordproc::Table *onlyTable(const wordproc::Document &document)
{
    const wordproc::Table *found = nullptr;
    for (const wordproc::Block &block : document.body) {
        if (const auto *table = std::get_if<wordproc::Table>(&block)) {
            if (found)
                return nullptr;
            found = table;
        }
    }
    return found;
}

// Where two models part, for a readable failure.
std::string firstDifference(const wordproc::Document &a, const wordproc::Document &b)
{
    if (a.page != b.page)
        return "page setup";
    if (a.body.size() != b.body.size())
        return "number of blocks";
    const wordproc::Table *ta = onlyTable(a);
    const wordproc::Table *tb = onlyTable(b);
    if (ta && tb && ta->rows.size() == tb->rows.size()) {
        for (size_t r = 0; r < ta->rows.size(); ++r) {
            if (ta->rows[r] == tb->rows[r])
                continue;
            for (size_t c = 0; c < std::min(ta->rows[r].cells.size(), tb->rows[r].cells.size()); ++c)
                if (!(ta->rows[r].cells[c] == tb->rows[r].cells[c]))
                    return "row " + std::to_string(r + 1) + " cell " + std::to_string(c + 1) + ": " +
                        textOf(ta->rows[r].cells[c]).left(80).toStdString() + " | " +
                        textOf(tb->rows[r].cells[c]).left(80).toStdString();
            return "row " + std::to_string(r + 1);
        }
    }
    return a == b ? "" : "outside the table";
}

double heightInInches(const QImage &picture) { return picture.height() / (picture.dotsPerMeterY() * 0.0254); }

// Runs an installed program, or answers nullopt when it is not installed.
std::optional<testsupport::ProgramRun> runTool(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return std::nullopt;
    return testsupport::runProgram(program, arguments);
}

class FormEndToEndTest : public ::testing::TestWithParam<Record> {
protected:
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir temp;
    wordproc::BuiltinApplicationFactory factory{temp.filePath(QStringLiteral("engine.lock"))};
    testsupport::RecordingGenerationHost host;

    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        fill(host.widgets, GetParam());
    }

    // Generates the form and answers the handed-over document; keeps the outputs in the folder
    // TENVORIA_TEST_OUTPUT names, for looking at them.
    QString generate()
    {
        generateRentalApplication(factory, host, {temp.path(), {}});
        for (const auto &shown : boxes.shown)
            ADD_FAILURE() << "error report: " << shown.text.toStdString();
        EXPECT_FALSE(host.picture.isNull());
        EXPECT_TRUE(QFile::exists(host.wordFile));
        if (const QString keep = qEnvironmentVariable("TENVORIA_TEST_OUTPUT"); !keep.isEmpty()) {
            const QString stem = QDir(keep).filePath(recordName());
            QFile::remove(stem + QStringLiteral(".doc"));
            QFile::copy(host.wordFile, stem + QStringLiteral(".doc"));
            host.picture.save(stem + QStringLiteral(".png"));
        }
        return host.wordFile;
    }

    QString recordName() const
    {
        return QStringList{QStringLiteral("empty"), QStringLiteral("sample"), QStringLiteral("hostile")}[int(GetParam())];
    }
};

// The page the preview shows, after its trip through temp.bmp, is the saved document's page pixel
// for pixel, the right way up, at the resolution it was drawn.
TEST_P(FormEndToEndTest, ThePreviewsPictureIsTheSavedDocumentsPage)
{
    const QImage drawn = wordproc::renderContent(wordproc::readDoc(generate()));
    ASSERT_FALSE(host.picture.isNull());
    EXPECT_EQ(host.picture.convertToFormat(QImage::Format_RGB32), drawn);
    EXPECT_EQ(host.picture.dotsPerMeterY(), drawn.dotsPerMeterY());
}

TEST_P(FormEndToEndTest, SavedDocumentHoldsTheFormWithTheRecordsTextMadeSafe)
{
    const wordproc::Document saved = wordproc::readDoc(generate());
    const wordproc::Table *table = onlyTable(saved);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows.size(), 43u);
    const auto &rows = table->rows;
    EXPECT_EQ(widthsOf(rows[0]), std::vector<int>{10080});
    EXPECT_EQ(widthsOf(rows[3]), (std::vector<int>{3360, 3360, 3360}));
    EXPECT_EQ(widthsOf(rows[12]), (std::vector<int>{6720, 3360}));
    EXPECT_EQ(widthsOf(rows[20]), (std::vector<int>{3360, 6720}));
    EXPECT_EQ(textOf(rows[0].cells[0]), QStringLiteral("Rental Application"));

    const entry::RecordWidgets &record = host.widgets;
    const auto safe = [&](const char *id) { return wordproc::sanitizeUserText(record.textOf(QLatin1String(id))); };
    EXPECT_EQ(textOf(rows[2].cells[0]), QStringLiteral("Name: ") + safe("txtAppInfoName"));
    EXPECT_EQ(textOf(rows[3].cells[1]), QStringLiteral("SSN: ") + safe("txtAppInfoSSN"));
    EXPECT_EQ(textOf(rows[12].cells[0]), QStringLiteral("Employer Address: ") + safe("txtAppInfoEmpInfoEmployerAddress"));
    EXPECT_EQ(textOf(rows[37].cells[2]), QStringLiteral("Phone: ") + safe("txtPhone1"));
    EXPECT_EQ(textOf(rows[6].cells[0]), GetParam() == Record::Empty ? QStringLiteral("House: Own") : QStringLiteral("House: Rent"));
    EXPECT_EQ(textOf(rows[41].cells[0]), QStringLiteral("\rSignature of applicant:"));

    // Every cell, in the order of the form's rows: nothing typed into a neighbour.
    size_t at = 0;
    for (const RowSpec &spec : formRows()) {
        const size_t cells = spec.recipe == Recipe::WholeRow || spec.recipe == Recipe::Title ||
                spec.recipe == Recipe::Heading || spec.recipe == Recipe::Statement ? 1
            : spec.recipe == Recipe::Triple || spec.recipe == Recipe::References ? 3 : 2;
        ASSERT_EQ(rows[at].cells.size(), cells) << "row " << at + 1;
        for (size_t c = 0; c < cells; ++c) {
            QString expected = cellText(spec.cells[c], record);
            if (spec.recipe == Recipe::Signature)
                expected.prepend(QLatin1Char('\r'));
            else
                expected = wordproc::sanitizeUserText(expected);
            EXPECT_EQ(textOf(rows[at].cells[c]), expected) << "row " << at + 1 << " cell " << c + 1;
        }
        at += spec.recipe == Recipe::References ? 3 : 1;
    }
    ASSERT_EQ(at, 43u);

    for (int r : {38, 39}) {
        EXPECT_EQ(rows[r].cells.size(), 3u);
        for (const wordproc::Cell &cell : rows[r].cells)
            EXPECT_EQ(textOf(cell), QString()) << "row " << r + 1;
        EXPECT_EQ(rows[r].heightRule, wordproc::HeightRule::AtLeast);
        EXPECT_EQ(rows[r].heightTwips, 288);
    }
    for (int r : {40, 41, 42}) {
        EXPECT_EQ(rows[r].heightRule, wordproc::HeightRule::Exactly) << "row " << r + 1;
        EXPECT_EQ(rows[r].heightTwips, 504) << "row " << r + 1;
    }
}

TEST_P(FormEndToEndTest, EngineModelAndSavedFileAreTheSameDocument)
{
    std::shared_ptr<automation::Application> app;
    const std::shared_ptr<automation::Document> doc = buildRentalApplication(factory, host.widgets, app);
    ASSERT_TRUE(doc && app);
    const wordproc::Document built = wordproc::builtinEditor(*doc).document();
    app->quit();

    const wordproc::Document saved = wordproc::readDoc(generate());
    EXPECT_TRUE(built == saved) << firstDifference(built, saved);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_P(FormEndToEndTest, LibreOfficeLaysItOutOnOnePageForOrdinaryRecords)
{
    const QString doc = generate();
    const QString outDir = temp.filePath(QStringLiteral("pdf"));
    const auto converted = runTool(QStringLiteral("soffice"),
                                   {QStringLiteral("--headless"),
                                    QStringLiteral("-env:UserInstallation=file://") + temp.filePath(QStringLiteral("lo")),
                                    QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                                    outDir, doc});
    if (!converted)
        GTEST_SKIP() << "soffice is not installed";
    // soffice answers 0 even when it converted nothing.
    const QString pdf = QDir(outDir).filePath(QFileInfo(doc).completeBaseName() + QStringLiteral(".pdf"));
    ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice did not convert " << recordName().toStdString();
    if (const QString keep = qEnvironmentVariable("TENVORIA_TEST_OUTPUT"); !keep.isEmpty()) {
        QFile::remove(QDir(keep).filePath(recordName() + QStringLiteral(".pdf")));
        QFile::copy(pdf, QDir(keep).filePath(recordName() + QStringLiteral(".pdf")));
    }
    if (GetParam() == Record::Hostile)
        return; // its at-least rows grow past the page
    const auto info = runTool(QStringLiteral("pdfinfo"), {pdf});
    if (!info)
        GTEST_SKIP() << "pdfinfo is not installed";
    EXPECT_TRUE(info->output.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"),
                                                          QRegularExpression::MultilineOption)))
        << info->output.toStdString();
}

TEST_P(FormEndToEndTest, TextExtractorsReadTheTitle)
{
    const QString doc = generate();
    int ran = 0;
    for (const QString &tool : {QStringLiteral("antiword"), QStringLiteral("catdoc")}) {
        const auto run = runTool(tool, {doc});
        if (!run)
            continue;
        ++ran;
        EXPECT_EQ(run->exitCode, 0) << tool.toStdString();
        EXPECT_TRUE(run->output.contains(QStringLiteral("Rental Application"))) << tool.toStdString();
    }
    if (ran == 0)
        GTEST_SKIP() << "neither antiword nor catdoc is installed";
}

INSTANTIATE_TEST_SUITE_P(Records, FormEndToEndTest, ::testing::Values(Record::Empty, Record::Sample, Record::Hostile),
                         [](const auto &info) {
                             return std::string(info.param == Record::Empty ? "Empty"
                                                : info.param == Record::Sample ? "Sample" : "Hostile");
                         });

TEST(FormEndToEnd, OverlongTextGrowsThePageWhileOrdinaryRecordsFitOnIt)
{
    std::map<Record, double> inches;
    for (Record kind : {Record::Empty, Record::Sample, Record::Hostile}) {
        testsupport::ScriptedMessageBoxes boxes;
        runtime::ScopedMessageBoxes scope{boxes};
        QTemporaryDir temp;
        wordproc::BuiltinApplicationFactory factory{temp.filePath(QStringLiteral("engine.lock"))};
        testsupport::RecordingGenerationHost host;
        fill(host.widgets, kind);
        generateRentalApplication(factory, host, {temp.path(), {}});
        ASSERT_FALSE(host.picture.isNull());
        inches[kind] = heightInInches(host.picture);
    }
    const double textHeight = 11 - 2 * 0.6;
    EXPECT_LE(inches[Record::Empty], textHeight);
    EXPECT_LE(inches[Record::Sample], textHeight);
    EXPECT_GT(inches[Record::Hostile], inches[Record::Sample] + 1);
}

TEST(FormEndToEnd, EveryFieldAtTwoThousandCharactersStillReachesThePreview)
{
    // Taller than Qt's readers take by themselves (the picture is over 128 MB).
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir temp;
    wordproc::BuiltinApplicationFactory factory{temp.filePath(QStringLiteral("engine.lock"))};
    testsupport::RecordingGenerationHost host;
    for (const record::TextFieldSpec &field : record::textFields())
        host.widgets.text(QLatin1String(field.id))->setText(repeatedTo(QStringLiteral("Long value "), 2000));
    generateRentalApplication(factory, host, {temp.path(), {}});
    for (const auto &shown : boxes.shown)
        ADD_FAILURE() << "error report: " << shown.text.toStdString();
    ASSERT_FALSE(host.picture.isNull());
    EXPECT_GT(host.picture.sizeInBytes(), qsizetype(128) << 20);
    EXPECT_GT(heightInInches(host.picture), 100);
    EXPECT_TRUE(host.events.contains(QStringLiteral("show")));
    // Not blank: the last field's text reaches the picture's last inch.
    const int inch = int(host.picture.dotsPerMeterY() * 0.0254);
    int dark = 0;
    for (int y = host.picture.height() - inch; y < host.picture.height(); ++y)
        for (int x = 0; x < host.picture.width(); ++x)
            dark += qGray(host.picture.pixel(x, y)) < 128;
    EXPECT_GT(dark, 100);
}

TEST(RunningInstanceGuard, SeesTheBuiltinEngineUntilItQuitsAndAnotherProcessHoldingTheLock)
{
    QTemporaryDir temp;
    const QString lock = temp.filePath(QStringLiteral("engine.lock"));
    wordproc::BuiltinApplicationFactory factory(lock);
    EXPECT_FALSE(isWordOpen(factory));
    std::shared_ptr<automation::Application> app = factory.createNew();
    EXPECT_TRUE(isWordOpen(factory));
    app->quit();
    EXPECT_FALSE(isWordOpen(factory));

    if (QStandardPaths::findExecutable(QStringLiteral("flock")).isEmpty())
        GTEST_SKIP() << "flock is not installed";
    QProcess other;
    // The shell becomes the sleeper and keeps the locked descriptor, so killing it frees the lock.
    other.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                       QStringLiteral("exec 9<>\"$1\"; flock -s 9; echo held; exec sleep 60"),
                                       QStringLiteral("sh"), lock});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    EXPECT_TRUE(isWordOpen(factory));
    other.kill();
    other.waitForFinished();
    EXPECT_FALSE(isWordOpen(factory));
}

} // namespace
