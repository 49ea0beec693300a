// The form held once: its bytes are the .doc, and everything drawn or read comes from their one
// decoding, also when the file on disk has changed since it was read.
#include "TestFiles.h"
#include "app/FormPages.h"
#include "automation/WordAutomation.h"
#include "base/Failure.h"
#include "form/FormDocument.h"
#include "form/FormEngine.h"
#include "record/RecordValues.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const record::RecordSnapshot &sample()
{
    static const record::RecordSnapshot record = record::RecordSnapshot::sample();
    return record;
}

const form::FormDocument &sampleForm()
{
    static const form::FormDocument document = form::build(sample());
    return document;
}

QString applicantName() { return sample().textOf(QStringLiteral("txtAppInfoName")); }

TEST(FormDocument, BuiltOnceItsBytesAreAWordFileAndEveryOutputComesFromThem)
{
    const form::FormDocument &document = sampleForm();
    ASSERT_FALSE(applicantName().isEmpty());
    EXPECT_TRUE(document.docBytes().startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"))); // an OLE2 file
    // What is held is what the bytes say, not the engine's model before it was stored.
    EXPECT_EQ(form::FormDocument::fromBytes(document.docBytes()).readingText(), document.readingText());
    EXPECT_TRUE(document.readingText().contains(applicantName()));
    const QByteArray pdf = document.pdf();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("Rental Application")) << "the title";

    // A copy is a handle on the same reading.
    const form::FormDocument copy = document;
    EXPECT_EQ(&copy.document(), &document.document());
}

TEST(FormDocument, BytesThatAreNotOursAndFilesThatNeverEndAreRefused)
{
    EXPECT_THROW(form::FormDocument::fromBytes("not a document"), base::Failure);
    EXPECT_THROW(form::FormDocument(nullptr), base::Failure) << "a handle on nothing would crash its first drawing";
    QTemporaryDir temp;
    const QString fifo = temp.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), temp.filePath(QStringLiteral("missing.doc"))}) {
        try {
            form::FormDocument::read(path);
            ADD_FAILURE() << path.toStdString() << " was read";
        } catch (const base::Failure &failure) {
            EXPECT_TRUE(failure.description().contains(path)) << failure.description().toStdString();
        }
    }
}

// The engine that opens the saved file to draw its page leaves its reading for the preview, once,
// as the form layer's document.
TEST(FormDocument, TheEngineLeavesWhatItReadBackForOneTaker)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("form.doc"));
    testsupport::writeTestFile(path, sampleForm().docBytes());
    form::FormEngine engine(temp.filePath(QStringLiteral("engine.lock")));
    const std::shared_ptr<automation::Application> app = engine.createNew();
    app->documents()->open(path);
    app->quit();

    EXPECT_FALSE(engine.takeReadBack(temp.filePath(QStringLiteral("other.doc"))));
    const auto again = [&] {
        const std::shared_ptr<automation::Application> second = engine.createNew();
        second->documents()->open(path);
        second->quit();
    };
    again();
    const std::optional<form::FormDocument> readBack = engine.takeReadBack(path);
    ASSERT_TRUE(readBack);
    EXPECT_EQ(readBack->docBytes(), sampleForm().docBytes());
    EXPECT_EQ(readBack->readingText(), sampleForm().readingText());
    EXPECT_FALSE(engine.takeReadBack(path)) << "taken once, then held by the taker alone";
}

// The preview's pages come from the document handed over: a file changed on disk after the
// hand-over changes nothing printed, saved as PDF or read aloud; another file is read itself.
TEST(FormDocument, ThePreviewsPagesAreTheDocumentHandedOver)
{
    QTemporaryDir temp;
    const QString handedOver = temp.filePath(QStringLiteral("qarvel11111111.doc"));
    testsupport::writeTestFile(handedOver, sampleForm().docBytes());
    app::FormPages pages;
    pages.hold(handedOver, form::FormDocument::read(handedOver));
    testsupport::writeTestFile(handedOver, "overwritten");
    EXPECT_TRUE(pages.readingText(handedOver).contains(applicantName()));
    EXPECT_TRUE(pages.pdf(handedOver).startsWith("%PDF-"));

    const QString other = temp.filePath(QStringLiteral("other.doc"));
    testsupport::writeTestFile(other, form::build(record::RecordSnapshot()).docBytes());
    EXPECT_FALSE(pages.readingText(other).contains(applicantName()));
    EXPECT_THROW(pages.readingText(handedOver), base::Failure) << "the held document went with its file";
}

} // namespace
