// tenvoria-render as a shell script runs it: the comparison of a folder written as CSV and PDF,
// a locked applicant file written and read back with a passphrase file, and the refusals.
#include "RenderProcess.h"
#include "TestFiles.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using testsupport::Ran;
using testsupport::render;

TEST(RenderCommand, CompareWritesTheFoldersApplicantsAsCsvAndPdf)
{
    QTemporaryDir dir;
    record::writeApplicantFile(dir.filePath(QStringLiteral("ana.tenvoria")),
                               {{QStringLiteral("App Info Name"), QStringLiteral("Ana")},
                                {QStringLiteral("App Info Emp Info Annual Income"), QStringLiteral("$54,000")}});
    testsupport::writeTestFile(dir.filePath(QStringLiteral("broken.tenvoria")), QByteArray("garbage\0", 8));
    const QString csv = dir.filePath(QStringLiteral("out/c.csv")), pdf = dir.filePath(QStringLiteral("c.pdf"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("out"))));
    const Ran ran = render({QStringLiteral("--compare"), dir.path(), QStringLiteral("--rent"), QStringLiteral("$1,500"),
                            QStringLiteral("--csv"), csv, QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    const QByteArray table = testsupport::readTestFile(csv);
    EXPECT_TRUE(table.contains("ana.tenvoria,Ana,")) << table.toStdString();
    EXPECT_TRUE(table.contains(",3.00,")) << table.toStdString(); // 54,000 / 18,000
    EXPECT_TRUE(table.contains("broken.tenvoria")); // listed, with its reason
    EXPECT_TRUE(testsupport::readTestFile(pdf).startsWith("%PDF-"));

    // Each wrong rent or multiple is named with why, not only answered with the usage.
    const QString other = dir.filePath(QStringLiteral("other.csv"));
    const struct {
        QStringList terms;
        const char *reason;
    } wrongTerms[] = {
        {{}, "--rent N is needed"},
        {{QStringLiteral("--rent"), QStringLiteral("lots")}, "--rent \"lots\" is not a monthly rent"},
        {{QStringLiteral("--rent"), QStringLiteral("0")}, "--rent \"0\" is not a monthly rent: give one amount above zero"},
        {{QStringLiteral("--rent"), QStringLiteral("-1450")}, "--rent \"-1450\" is not a monthly rent"},
        {{QStringLiteral("--rent"), QStringLiteral("900"), QStringLiteral("--minimum"), QStringLiteral("0")},
         "--minimum: The minimum must be more than 0"},
        {{QStringLiteral("--rent"), QStringLiteral("900"), QStringLiteral("--minimum"), QStringLiteral("inf")},
         "--minimum: \"inf\" is not a number"},
    };
    for (const auto &wrong : wrongTerms) {
        const Ran refused = render(QStringList{QStringLiteral("--compare"), dir.path(), QStringLiteral("--csv"), other} + wrong.terms);
        EXPECT_EQ(refused.exitCode, 2) << wrong.reason;
        EXPECT_TRUE(refused.err.contains(wrong.reason)) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains("usage: tenvoria-render --compare"));
        EXPECT_FALSE(QFile::exists(other));
    }
    const Ran missing = render({QStringLiteral("--compare"), dir.filePath(QStringLiteral("gone")), QStringLiteral("--rent"),
                                QStringLiteral("900"), QStringLiteral("--csv"), csv});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("gone"));
}

// 35,592 a year against 1,000 a month is 2.966 times the rent: the CSV and the PDF show 2.96 and
// mark it below 3 and below 2.97, not below 2.96; a minimum of more than two decimals is refused
// with its reason; an income in another currency, or one no one earns, is shown as typed with its
// reason and no multiple; the PDF's file date is whole.
TEST(RenderCommand, CompareMarksByTheExactMultipleAndShowsAFigureThatAgreesWithTheMark)
{
    QTemporaryDir dir;
    const auto applicant = [&](const char *file, const char *name, const char *income) {
        record::writeApplicantFile(dir.filePath(QString::fromUtf8(file)),
                                   {{QStringLiteral("App Info Name"), QString::fromUtf8(name)},
                                    {QStringLiteral("App Info Emp Info Annual Income"), QString::fromUtf8(income)}});
    };
    applicant("ana.tenvoria", "Ana", "$35,592");
    applicant("yui.tenvoria", "Yui", "\u00a5300,000");
    applicant("max.tenvoria", "Max", "1,000,000,000,000");
    // Long names and employers, which must give up room before the date does.
    record::writeApplicantFile(dir.filePath(QStringLiteral("long.tenvoria")),
                               {{QStringLiteral("App Info Name"), QStringLiteral("Maximilian Alexander Featherstonehaugh-Worthington")},
                                {QStringLiteral("Co Name"), QStringLiteral("Philippa Henrietta Cholmondeley-Fiennes")},
                                {QStringLiteral("App Info Emp Info Current Employer"),
                                 QStringLiteral("The Consolidated Widget Manufacturing Company of North America")},
                                {QStringLiteral("App Info Emp Info Annual Income"), QStringLiteral("$48,000")}});
    const QString csv = dir.filePath(QStringLiteral("c.csv")), pdf = dir.filePath(QStringLiteral("c.pdf"));
    const auto compared = [&](const char *minimum) {
        const Ran ran = render({QStringLiteral("--compare"), dir.path(), QStringLiteral("--rent"), QStringLiteral("1000"),
                                QStringLiteral("--minimum"), QString::fromUtf8(minimum), QStringLiteral("--csv"), csv,
                                QStringLiteral("--pdf"), pdf});
        EXPECT_EQ(ran.exitCode, 0) << ran.err.toStdString();
        return QString::fromUtf8(testsupport::readTestFile(csv));
    };
    const auto anasLine = [](const QString &table) {
        for (const QString &line : table.split(QStringLiteral("\r\n")))
            if (line.startsWith(QStringLiteral("ana.tenvoria")))
                return line;
        return QString();
    };
    EXPECT_TRUE(anasLine(compared("3")).contains(QStringLiteral(",2.96,")) && anasLine(compared("3")).contains(QStringLiteral(",yes,")));
    EXPECT_TRUE(anasLine(compared("2.97")).contains(QStringLiteral(",yes,"))) << anasLine(compared("2.97")).toStdString();
    const QString table = compared("2.96");
    EXPECT_TRUE(anasLine(table).contains(QStringLiteral(",2.96,")) && !anasLine(table).contains(QStringLiteral(",yes,")))
        << anasLine(table).toStdString();
    for (const char *unread : {"\u00a5300,000", "1,000,000,000,000"}) {
        const QString line = table.split(QStringLiteral("\r\n")).filter(QString::fromUtf8(unread)).value(0);
        EXPECT_TRUE(line.contains(QStringLiteral("another currency")) || line.contains(QStringLiteral("unlikely"))) << line.toStdString();
        EXPECT_FALSE(line.contains(QRegularExpression(QStringLiteral(",[0-9,]+\\.[0-9]{2},")))) << "a multiple: " << line.toStdString();
    }

    compared("2.97");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString shown = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(shown.contains(QStringLiteral("2.96 (below)"))) << shown.toStdString();
    const QString date = QFileInfo(dir.filePath(QStringLiteral("ana.tenvoria"))).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_TRUE(shown.contains(date)) << "the file date is cut: " << shown.toStdString();

    for (const char *refused : {"2.975", "0", "100"}) {
        const Ran ran = render({QStringLiteral("--compare"), dir.path(), QStringLiteral("--rent"), QStringLiteral("1000"),
                                QStringLiteral("--minimum"), QString::fromUtf8(refused), QStringLiteral("--csv"), csv});
        EXPECT_EQ(ran.exitCode, 2) << refused;
        EXPECT_TRUE(ran.err.contains("two decimals") || ran.err.contains("more than 0") || ran.err.contains("at most 20"))
            << refused << ": " << ran.err.toStdString();
    }
}

TEST(RenderCommand, ALockedApplicantFileIsWrittenAndReadWithAPassphraseFileOrStandardInput)
{
    QTemporaryDir dir;
    const QString passphrase = dir.filePath(QStringLiteral("pass"));
    testsupport::writeTestFile(passphrase, "open sesame\n");
    const QString locked = dir.filePath(QStringLiteral("sample.tenvoria"));
    const Ran saved = render({QStringLiteral("--sample"), QStringLiteral("--save-applicant"), locked,
                              QStringLiteral("--passphrase-file"), passphrase});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    ASSERT_TRUE(record::isLockedApplicantFile(locked));
    const record::Passphrase key(QStringLiteral("open sesame")); // the line end is not part of it
    EXPECT_EQ(record::readApplicantFile(locked, &key).value(QStringLiteral("App Info Name")), QStringLiteral("Dorian Pellwick Jr."));

    const QString doc = dir.filePath(QStringLiteral("form.doc"));
    const Ran fromStdin = render({QStringLiteral("--settings"), locked, QStringLiteral("--passphrase-file"), QStringLiteral("-"),
                                  QStringLiteral("--doc"), doc},
                                 "open sesame\n");
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err.toStdString();
    EXPECT_TRUE(QFile::exists(doc));
    const Ran wrong = render({QStringLiteral("--settings"), locked, QStringLiteral("--passphrase-file"), QStringLiteral("-"),
                              QStringLiteral("--doc"), dir.filePath(QStringLiteral("other.doc"))},
                             "open says me\n");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains("passphrase does not open")) << wrong.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("other.doc"))));
    const Ran none = render({QStringLiteral("--settings"), locked, QStringLiteral("--doc"), dir.filePath(QStringLiteral("x.doc"))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains("--passphrase-file"));

    // One passphrase on standard input opens the locked record and locks its copy.
    const QString copy = dir.filePath(QStringLiteral("copy.tenvoria"));
    const Ran copied = render({QStringLiteral("--settings"), locked, QStringLiteral("--passphrase-file"), QStringLiteral("-"),
                               QStringLiteral("--save-applicant"), copy},
                              "open sesame\n");
    ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_EQ(record::readApplicantFile(copy, &key).value(QStringLiteral("App Info Name")), QStringLiteral("Dorian Pellwick Jr."));

    // So does it for a form written both as .doc and as fillable PDF.
    const QString fillable = dir.filePath(QStringLiteral("form.pdf")), both = dir.filePath(QStringLiteral("both.doc"));
    const Ran twice = render({QStringLiteral("--settings"), locked, QStringLiteral("--passphrase-file"), QStringLiteral("-"),
                              QStringLiteral("--fillable-pdf"), fillable, QStringLiteral("--doc"), both},
                             "open sesame\n");
    EXPECT_EQ(twice.exitCode, 0) << twice.err.toStdString();
    EXPECT_TRUE(QFile::exists(fillable) && QFile::exists(both));

    // Without a passphrase file the applicant file is written plain.
    const QString plain = dir.filePath(QStringLiteral("plain.tenvoria"));
    EXPECT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--save-applicant"), plain}).exitCode, 0);
    EXPECT_TRUE(testsupport::readTestFile(plain).startsWith("[Tenvoria]\n"));
}

// The fillable PDF the tool writes is read back by the tool: each field taken is listed, and the
// record written is the one the PDF was made from.
TEST(RenderCommand, AFillablePdfItWroteIsImportedBackAsTheSameRecord)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("form.pdf")), record = dir.filePath(QStringLiteral("back.tenvoria"));
    const Ran written = render({QStringLiteral("--sample"), QStringLiteral("--fillable-pdf"), pdf});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    const Ran imported = render({QStringLiteral("--import-pdf"), pdf, QStringLiteral("--record-out"), record});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains("taken: App Info Name\n")) << imported.out.toStdString();
    EXPECT_EQ(record::readApplicantFile(record).value(QStringLiteral("App Info Name")), QStringLiteral("Dorian Pellwick Jr."));

    for (const QStringList &wrong : {QStringList{QStringLiteral("--import-pdf"), pdf},
                                     QStringList{QStringLiteral("--sample"), QStringLiteral("--blank"),
                                                 QStringLiteral("--fillable-pdf"), dir.filePath(QStringLiteral("b.pdf"))}}) {
        const Ran refused = render(wrong);
        EXPECT_EQ(refused.exitCode, 2) << wrong.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(refused.err.contains("usage:")) << refused.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.pdf"))));
}

// A passphrase file that gives no passphrase is refused by name at once: nothing waits on a FIFO or
// reads /dev/zero for ever, and no file is written unlocked or locked with nothing.
TEST(RenderCommand, APassphraseFileThatGivesNoneIsRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo")), empty = dir.filePath(QStringLiteral("empty"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    testsupport::writeTestFile(empty, "\n");
    const QString out = dir.filePath(QStringLiteral("out.tenvoria"));
    const struct {
        QString file;
        QByteArray input;
        const char *reason;
    } cases[] = {{fifo, {}, "not a regular file"},
                 {QStringLiteral("/dev/zero"), {}, "not a regular file"},
                 {dir.path(), {}, "not a regular file"},
                 {dir.filePath(QStringLiteral("missing")), {}, "No such file"},
                 {empty, {}, "The passphrase given is empty"},
                 {QStringLiteral("-"), "\r\n", "The passphrase given is empty"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const Ran ran = render({QStringLiteral("--sample"), QStringLiteral("--save-applicant"), out,
                                QStringLiteral("--passphrase-file"), c.file},
                               c.input);
        EXPECT_EQ(ran.exitCode, 1); // -1: it hung
        EXPECT_TRUE(ran.err.contains(c.reason)) << ran.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

// While the program has a locked applicant open, the store holds a note and no entries: rendering
// the store says so instead of giving a blank form as the applicant's.
TEST(RenderCommand, TheStoreOfAnOpenLockedApplicantIsNotRenderedBlank)
{
    QTemporaryDir dir;
    testsupport::writeTestFile(dir.filePath(QStringLiteral("Marrowick.conf")),
                               "[Tenvoria]\nApp%20Info%20Name=\nLockedApplicant=/home/u/ana.tenvoria\n");
    const QString doc = dir.filePath(QStringLiteral("form.doc"));
    const Ran ran = render({QStringLiteral("--doc"), doc}, {}, dir.path());
    EXPECT_EQ(ran.exitCode, 1);
    EXPECT_TRUE(ran.err.contains("--settings /home/u/ana.tenvoria")) << ran.err.toStdString();
    EXPECT_FALSE(QFile::exists(doc));
}

} // namespace
