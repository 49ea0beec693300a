// tenvoria-render as a shell script runs it: the comparison of a folder written as CSV and PDF,
// a locked applicant file written and read back with a passphrase file, and the refusals.
#include "TestFiles.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};

Ran render(const QStringList &arguments, const QByteArray &input = {},
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TENVORIA_RENDER), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

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
    EXPECT_TRUE(table.contains(",3.0,")) << table.toStdString(); // 54,000 / 18,000
    EXPECT_TRUE(table.contains("broken.tenvoria")); // listed, with its reason
    EXPECT_TRUE(testsupport::readTestFile(pdf).startsWith("%PDF-"));

    for (const QStringList &wrong : {QStringList{QStringLiteral("--compare"), dir.path(), QStringLiteral("--csv"), csv},
                                     QStringList{QStringLiteral("--compare"), dir.path(), QStringLiteral("--rent"), QStringLiteral("lots"),
                                                 QStringLiteral("--csv"), csv}})
        EXPECT_EQ(render(wrong).exitCode, 2) << wrong.join(QLatin1Char(' ')).toStdString();
    const Ran missing = render({QStringLiteral("--compare"), dir.filePath(QStringLiteral("gone")), QStringLiteral("--rent"),
                                QStringLiteral("900"), QStringLiteral("--csv"), csv});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("gone"));
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

    // Without a passphrase file the applicant file is written plain.
    const QString plain = dir.filePath(QStringLiteral("plain.tenvoria"));
    EXPECT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--save-applicant"), plain}).exitCode, 0);
    EXPECT_TRUE(testsupport::readTestFile(plain).startsWith("[Tenvoria]\n"));
}

// While the program has a locked applicant open, the store holds a note and no entries: rendering
// the store says so instead of giving a blank form as the applicant's.
TEST(RenderCommand, TheStoreOfAnOpenLockedApplicantIsNotRenderedBlank)
{
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    environment.insert(QStringLiteral("HOME"), dir.path());
    testsupport::writeTestFile(dir.filePath(QStringLiteral("Marrowick.conf")),
                               "[Tenvoria]\nApp%20Info%20Name=\nLockedApplicant=/home/u/ana.tenvoria\n");
    const QString doc = dir.filePath(QStringLiteral("form.doc"));
    const Ran ran = render({QStringLiteral("--doc"), doc}, {}, environment);
    EXPECT_EQ(ran.exitCode, 1);
    EXPECT_TRUE(ran.err.contains("--settings /home/u/ana.tenvoria")) << ran.err.toStdString();
    EXPECT_FALSE(QFile::exists(doc));
}

} // namespace
