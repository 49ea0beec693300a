// The form as PDF, as the preview's save dialog and tenvoria-render write it, read by the PDF
// tools a user would trust: pages, fonts, text, structure, and LibreOffice's own PDF of the
// same .doc as the measure of where rows and lines belong.
#include "PrintTestTools.h"

#include "app/FormPages.h"
#include "form/DocumentCopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace printtest;

namespace {

int pageCount(const QString &pdf)
{
    const QString info = runProgram(QStringLiteral("pdfinfo"), {pdf}).output;
    const auto match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class PdfOutputTest : public ::testing::TestWithParam<Record> {
protected:
    QTemporaryDir temp;
    QStringList cellTexts;
    QString doc;
    QString pdf;

    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        doc = generateForm(GetParam(), temp.path(), &cellTexts);
        ASSERT_FALSE(doc.isEmpty());
        pdf = temp.filePath(QStringLiteral("form.pdf"));
        app::FormPages pages;
        form::saveReplacing(pages.pdf(doc), pdf);
        if (const QString keep = qEnvironmentVariable("TENVORIA_TEST_OUTPUT"); !keep.isEmpty())
            QFile::copy(pdf, QDir(keep).filePath(QFileInfo(doc).completeBaseName() + QStringLiteral(".pdf")));
    }
};

TEST_P(PdfOutputTest, IsAValidLetterSizedPdfWithEmbeddedFontsAndTheFormsTitle)
{
    const ProgramRun info = runProgram(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_EQ(info.exitCode, 0) << info.errors.toStdString();
    EXPECT_TRUE(info.output.contains(QRegularExpression(QStringLiteral("^Title:\\s+Rental Application$"),
                                                        QRegularExpression::MultilineOption)));
    EXPECT_TRUE(info.output.contains(QStringLiteral("612 x 792 pts (letter)"))) << info.output.toStdString();
    if (GetParam() == Record::Long)
        EXPECT_GE(pageCount(pdf), 3);
    else
        EXPECT_EQ(pageCount(pdf), 1);

    const ProgramRun check = runProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString() << check.errors.toStdString();

    // Every font row of pdffonts says "emb yes" (the column after the encoding).
    const QStringList fonts = runProgram(QStringLiteral("pdffonts"), {pdf}).output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(fonts.size(), 3) << "no fonts in the PDF";
    for (const QString &row : fonts.mid(2)) {
        const QStringList columns = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 7) << row.toStdString();
        EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << "not embedded: " << row.toStdString();
    }
}

TEST_P(PdfOutputTest, EveryCellsTextCanBeExtracted)
{
    const QString text = flatTextOf(pdf);
    ASSERT_FALSE(cellTexts.isEmpty());
    const QStringList missing = missingTexts(cellTexts, text);
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " texts missing, first: " << missing.value(0).left(120).toStdString();
}

TEST_P(PdfOutputTest, RowsAndLinesStandWhereLibreOfficePutsThem)
{
    if (GetParam() == Record::Long)
        return; // LibreOffice splits rows that run over a page; the form's rows never do
    const QString outDir = temp.filePath(QStringLiteral("lo"));
    const ProgramRun converted = runProgram(
        QStringLiteral("soffice"),
        {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=file://") + temp.filePath(QStringLiteral("lo-profile")),
         QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir, doc},
        240000);
    const QString theirs = QDir(outDir).filePath(QFileInfo(doc).completeBaseName() + QStringLiteral(".pdf"));
    ASSERT_TRUE(QFile::exists(theirs)) << "LibreOffice did not convert the form: " << converted.errors.toStdString();

    const std::vector<double> ourRows = rowBoundaries(pdf, temp.path());
    const std::vector<double> theirRows = rowBoundaries(theirs, temp.path());
    ASSERT_GT(ourRows.size(), 40u);
    ASSERT_EQ(ourRows.size(), theirRows.size());
    double worstRow = 0;
    for (std::size_t i = 0; i < ourRows.size(); ++i)
        worstRow = std::max(worstRow, std::abs(ourRows[i] - theirRows[i]));
    EXPECT_LE(worstRow, 1.0) << "row boundaries differ by up to " << worstRow << " pt";

    // Lines of text: the same words, their boxes' vertical middles (independent of how each
    // embedded font states its ascent and descent) within 1.5 pt.
    const std::vector<Word> ours = wordsOf(pdf);
    const std::vector<Word> their = wordsOf(theirs);
    std::map<QString, std::vector<double>> theirMiddles;
    for (const Word &word : their)
        theirMiddles[word.text].push_back(word.box.center().y());
    std::map<QString, int> seen;
    double worstLine = 0;
    int compared = 0;
    for (const Word &word : ours) {
        const auto found = theirMiddles.find(word.text);
        ASSERT_NE(found, theirMiddles.end()) << "LibreOffice has no word " << word.text.toStdString();
        const int index = seen[word.text]++;
        ASSERT_LT(index, int(found->second.size())) << word.text.toStdString();
        worstLine = std::max(worstLine, std::abs(word.box.center().y() - found->second[index]));
        ++compared;
    }
    EXPECT_EQ(ours.size(), their.size());
    EXPECT_LE(worstLine, 1.5) << "text lines differ by up to " << worstLine << " pt";
    RecordProperty("rowBoundaries", int(ourRows.size()));
    RecordProperty("worstRowDifferenceMilliPt", int(worstRow * 1000));
    RecordProperty("worstLineDifferenceMilliPt", int(worstLine * 1000));
    std::printf("rows %zu, worst row difference %.3f pt; %d words, worst line difference %.3f pt\n", ourRows.size(),
                worstRow, compared, worstLine);
}

TEST(PdfOutput, ARowTallerThanAPageGoesOnOverThePagesWithEveryCharacterAndItsNeighbours)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // 10,000 characters of numbered words, so that order and completeness can be read back.
    QStringList words;
    for (int i = 1; i <= 1666; ++i)
        words << QStringLiteral("w%1").arg(i, 4, 10, QLatin1Char('0'));
    const QString value = words.join(QLatin1Char(' ')) + QStringLiteral(" tail");
    ASSERT_EQ(value.size(), 10000);
    const QString doc = generateForm({{QStringLiteral("txtAppInfoEmpInfoEmail"), value},
                                      {QStringLiteral("txtAppInfoEmpInfoPhone"), QStringLiteral("5550100")},
                                      {QStringLiteral("txtAppInfoEmpInfoFax"), QStringLiteral("5550199")}},
                                     temp.path());
    ASSERT_FALSE(doc.isEmpty());
    const QString pdf = temp.filePath(QStringLiteral("form.pdf"));
    form::saveReplacing(app::FormPages().pdf(doc), pdf);

    EXPECT_GE(pageCount(pdf), 3);
    const QString text = flatTextOf(pdf);
    QStringList found;
    for (const auto &match : QRegularExpression(QStringLiteral("\\b(w\\d{4}|tail)\\b")).globalMatch(text))
        found << match.captured(1);
    EXPECT_EQ(found.join(QLatin1Char(' ')), value) << found.size() << " of 1667 words, in order";
    // The row's other cells, and the rows after it.
    EXPECT_TRUE(text.contains(QStringLiteral("Phone: 5550100")));
    EXPECT_TRUE(text.contains(QStringLiteral("Fax: 5550199")));
    EXPECT_TRUE(text.contains(QStringLiteral("Annual Income:")));
}

INSTANTIATE_TEST_SUITE_P(Records, PdfOutputTest, ::testing::Values(Record::Empty, Record::Sample, Record::Long),
                         [](const auto &info) {
                             return std::string(info.param == Record::Empty    ? "Empty"
                                                : info.param == Record::Sample ? "Sample"
                                                                               : "Long");
                         });

} // namespace
