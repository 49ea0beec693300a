// tenvoria-render's import: the record it writes is private, keeps the file's other sections,
// and is never written over a file it could not read or from a PDF it refused.
#include "HeadlessRun.h"

#include "TestFiles.h"
#include "Unprivileged.h"
#include "record/RecordValues.h"
#include "pdfform/LinkedFormLayer.h"
#include "form/FillablePdf.h"
#include "record/IniText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(HeadlessImportTest, TheRecordIsWrittenPrivatelyBesideTheFilesOtherSections)
{
    QTemporaryDir folder;
    const record::RecordSnapshot sample = record::RecordSnapshot::sample();
    const QString pdf = folder.filePath(QStringLiteral("filled.pdf"));
    testsupport::writeTestFile(pdf, form::fillableFormOf(pdfform::linkedFormLayer(), &sample));
    const QString record = folder.filePath(QStringLiteral("applicant.ini"));
    testsupport::writeTestFile(record, "[Other]\nkept=1\n\n[Tenvoria]\nApp%20Info%20Name=old\nGone=x\nName2=Hidden Ref\n");

    const tools::ImportRun run = tools::importFilledPdf(pdf, record);
    EXPECT_TRUE(run.problems.isEmpty()) << run.problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(testsupport::modeOf(record), 0600u);
    const record::IniReading reading = record::decodeIniText(contentOf(record));
    EXPECT_TRUE(reading.lossless);
    EXPECT_EQ(reading.values.value(QStringLiteral("Other/kept")), QStringLiteral("1"));
    EXPECT_EQ(reading.values.value(QStringLiteral("Tenvoria/App Info Name")), sample.textOf(QStringLiteral("txtAppInfoName")));
    EXPECT_FALSE(reading.values.contains(QStringLiteral("Tenvoria/Gone")));
    // The hidden reference rows have no field in the PDF: the file keeps its own.
    EXPECT_EQ(reading.values.value(QStringLiteral("Tenvoria/Name2")), QStringLiteral("Hidden Ref"));

    // A file with other sections and none of ours keeps them, and gets ours after them.
    const QByteArray foreign = "[Other]\nkept=1\n";
    testsupport::writeTestFile(record, foreign);
    EXPECT_TRUE(tools::importFilledPdf(pdf, record).problems.isEmpty());
    EXPECT_TRUE(contentOf(record).startsWith(foreign + "\n[Tenvoria]\n")) << contentOf(record).toStdString();

    // A PDF that is refused leaves the record as it was.
    const QByteArray before = contentOf(record);
    testsupport::writeTestFile(pdf, "%PDF-1.4\nnot really\n");
    EXPECT_FALSE(tools::importFilledPdf(pdf, record).problems.isEmpty());
    EXPECT_EQ(contentOf(record), before);
}

TEST(HeadlessImportTest, AFileThatCannotBeReadIsNotReplaced)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("filled.pdf"));
    testsupport::writeTestFile(pdf, form::fillableFormOf(pdfform::linkedFormLayer(), nullptr));
    const QString record = folder.filePath(QStringLiteral("applicant.ini"));
    testsupport::writeTestFile(record, "[Tenvoria]\nApp%20Info%20Name=Someone\n");
    ASSERT_TRUE(QFile::setPermissions(record, QFile::WriteOwner));

    const tools::ImportRun run = tools::importFilledPdf(pdf, record);
    ASSERT_EQ(run.problems.size(), 1);
    EXPECT_TRUE(run.problems.front().contains(QLatin1String("could not be read"))) << run.problems.front().toStdString();
    ASSERT_TRUE(QFile::setPermissions(record, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(contentOf(record), QByteArray("[Tenvoria]\nApp%20Info%20Name=Someone\n"));
}

// Files that never end, and files that are not there, are refused by name at once; nothing is
// written in place of what was asked for.
TEST(HeadlessImportTest, FifosDevicesAndMissingFilesAreRefusedAtOnce)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString record = folder.filePath(QStringLiteral("record.ini"));
    const tools::ImportRun fromFifo = tools::importFilledPdf(fifo, record);
    ASSERT_EQ(fromFifo.problems.size(), 1);
    EXPECT_TRUE(fromFifo.problems.front().contains(QLatin1String("not a regular file")));
    EXPECT_FALSE(QFile::exists(record));

    const QString doc = folder.filePath(QStringLiteral("out.doc"));
    for (const QString &settings : {fifo, QStringLiteral("/dev/zero"), folder.filePath(QStringLiteral("missing.ini")),
                                    folder.path()}) {
        SCOPED_TRACE(settings.toStdString());
        const tools::RenderResult result = tools::renderRecord({settings, false}, doc, {}, {});
        ASSERT_FALSE(result.problems.isEmpty());
        EXPECT_TRUE(result.problems.front().contains(settings)) << result.problems.front().toStdString();
        EXPECT_FALSE(QFile::exists(doc)); // no blank form in place of the record's
    }
}

// "Blank" means blank: the fillable PDF made for an applicant to fill in carries none of the
// landlord's stored record, whose SSN would otherwise leave with it.
TEST(HeadlessImportTest, TheBlankFillablePdfCarriesNothingOfTheStoredRecord)
{
    QTemporaryDir folder;
    const QByteArray config = QFile::encodeName(folder.filePath(QStringLiteral("config")));
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config);
    const QString store = folder.filePath(QStringLiteral("config/Marrowick.conf"));
    QDir().mkpath(folder.filePath(QStringLiteral("config")));
    testsupport::writeTestFile(store, "[Tenvoria]\nApp%20Info%20Name=Stored Person\nApp%20Info%20SSN=078-05-1120\n");
    const QString pdf = folder.filePath(QStringLiteral("blank.pdf"));
    const QStringList problems = tools::writeFillablePdf({QString(), false}, true, pdf);
    qputenv("XDG_CONFIG_HOME", before);
    ASSERT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    const pdfform::FilledValues imported = form::importFilled(pdfform::linkedFormLayer(), pdf);
    for (auto it = imported.values.cbegin(); it != imported.values.cend(); ++it)
        if (!it.key().contains(QLatin1String("House")) && !it.key().contains(QLatin1String("Salary")))
            EXPECT_TRUE(it.value().isEmpty()) << it.key().toStdString() << ": " << it.value().toStdString();
    EXPECT_FALSE(contentOf(pdf).contains("078-05-1120"));
}

} // namespace
