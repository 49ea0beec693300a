// A vacancy's folder as the comparison lists it: every applicant file a row, those that cannot be
// read with their reason in place of their values; the multiple and the CSV and PDF as outside
// readers (Python's csv module, pdftotext) read them.
#include "compare/ApplicantList.h"
#include "compare/ComparisonExport.h"

#include "TestFiles.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using compare::ApplicantRow;
using compare::Column;

class ApplicantListTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    void applicant(const char *file, const QString &name, const QString &income, const QString &coIncome = {})
    {
        record::writeApplicantFile(path(file), {{QStringLiteral("App Info Name"), name},
                                                {QStringLiteral("App Info SSN"), QStringLiteral("078-05-1120")},
                                                {QStringLiteral("App Info Date Of Birth"), QStringLiteral("17 June 1978")},
                                                {QStringLiteral("App Info Emp Info Annual Income"), income},
                                                {QStringLiteral("Co Emp Info Annual Income"), coIncome},
                                                {QStringLiteral("App Info Current How Long"), QStringLiteral("2 years")}});
    }
    // A folder of five: two good, one an import of a PDF an applicant filled, one damaged, one
    // foreign, one locked, one FIFO.
    QList<ApplicantRow> fillFolder()
    {
        applicant("a-ana.tenvoria", QStringLiteral("Ana \u0905\u0928\u093e"), QStringLiteral("$42,000"), QStringLiteral("1,500/month"));
        applicant("b-bo.tenvoria", QStringLiteral("Bo"), QStringLiteral("$20/hr"));
        applicant("c-cy.tenvoria", QStringLiteral("=HYPERLINK(\"http://x\",\"Cy\")"), QStringLiteral("42.000"));
        testsupport::writeTestFile(path("d-damaged.tenvoria"), "[Tenvoria]\nApp%20Info%20Name=\"unclosed\n");
        testsupport::writeTestFile(path("e-foreign.tenvoria"), "%PDF-1.4\n");
        testsupport::writeTestFile(path("f-locked.tenvoria"),
                                   record::lockBytes("[Tenvoria]\n", record::Passphrase(QStringLiteral("p")), {1, 64 * 1024}));
        EXPECT_EQ(::mkfifo(QFile::encodeName(path("g-fifo.tenvoria")).constData(), 0600), 0);
        testsupport::writeTestFile(path("not-an-applicant.txt"), "x");
        return compare::listApplicants(dir.path());
    }
};

TEST_F(ApplicantListTest, EveryFileIsARowAndThoseThatCannotBeReadSayWhy)
{
    const QList<ApplicantRow> rows = fillFolder();
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0].state, ApplicantRow::State::Read);
    EXPECT_EQ(rows[0].name, QStringLiteral("Ana \u0905\u0928\u093e"));
    EXPECT_EQ(*rows[0].combined.annual, 60000);
    EXPECT_EQ(*rows[1].combined.annual, 41600);
    EXPECT_FALSE(rows[2].combined.annual.has_value()); // 42.000 is not certain
    EXPECT_EQ(cellText(rows[2], Column::Income, 1000), QStringLiteral("42.000")); // shown as typed
    for (int i : {3, 4, 6}) {
        EXPECT_EQ(rows[i].state, ApplicantRow::State::Refused) << rows[i].fileName.toStdString();
        EXPECT_FALSE(rows[i].reason.isEmpty());
        EXPECT_EQ(cellText(rows[i], Column::Name, 1000), rows[i].reason);
    }
    EXPECT_TRUE(rows[3].reason.contains(QStringLiteral("damaged")));
    EXPECT_TRUE(rows[4].reason.contains(QStringLiteral("not a text file")) || rows[4].reason.contains(QStringLiteral("no [Tenvoria]")));
    EXPECT_TRUE(rows[6].reason.contains(QStringLiteral("not a regular file")));
    EXPECT_EQ(rows[5].state, ApplicantRow::State::Locked);

    // The multiple: combined income over twelve months' rent, two decimals cut; 60,000 against 1,500.
    EXPECT_EQ(cellText(rows[0], Column::Multiple, 1500), QStringLiteral("3.33"));
    EXPECT_FALSE(compare::belowMinimum(rows[0], {1500, 3}));
    EXPECT_TRUE(compare::belowMinimum(rows[1], {1500, 3})); // 41,600 / 18,000 = 2.3
    EXPECT_FALSE(compare::belowMinimum(rows[2], {1500, 3})); // unknown is not below
    EXPECT_EQ(cellText(rows[0], Column::Multiple, 0), QString()); // no rent, no multiple

    // Nothing of the SSN or the date of birth in any cell.
    for (const ApplicantRow &row : rows)
        for (int c = 0; c < int(Column::Count); ++c)
            EXPECT_FALSE(cellText(row, Column(c), 1500).contains(QStringLiteral("078-05")));
    EXPECT_THROW(compare::listApplicants(path("missing")), base::Failure);
}

TEST_F(ApplicantListTest, TheCsvAndThePdfReadBackInOutsideReaders)
{
    const QList<ApplicantRow> rows = fillFolder();
    const QString csv = path("out.csv");
    testsupport::writeTestFile(csv, compare::comparisonCsv(rows, {1500, 3}));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv,sys,json; print(json.dumps(list(csv.reader(open(sys.argv[1], encoding='utf-8', newline='')))))"),
                  csv});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QByteArray read = python.readAllStandardOutput();
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_TRUE(read.startsWith("[[\"File\", \"Applicant\"")) << read.toStdString();
    EXPECT_TRUE(QString::fromUtf8(read).contains(QStringLiteral("\\u0905"))) << "the Devanagari name";
    // The formula is written behind an apostrophe, its quotes and comma kept whole in one field.
    EXPECT_TRUE(read.contains("\"'=HYPERLINK(\\\"http://x\\\",\\\"Cy\\\")\"")) << read.toStdString();
    EXPECT_TRUE(read.contains("\"41,600\"") && read.contains("\"2.31\"") && read.contains("\"yes\"")) << read.toStdString();
    EXPECT_FALSE(read.contains("078-05"));

    const QString pdf = path("out.pdf");
    testsupport::writeTestFile(pdf, compare::comparisonPdf(rows, {1500, 3}, dir.path()));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString shown = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(shown.contains(QStringLiteral("Monthly rent: 1,500"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Ana"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("60,000")));
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    const QList<QByteArray> lines = fonts.readAllStandardOutput().split('\n');
    ASSERT_GT(lines.size(), 2);
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty()) {
            EXPECT_TRUE(lines[i].contains(" yes ")) << "not embedded: " << lines[i].toStdString();
        }
}

} // namespace
