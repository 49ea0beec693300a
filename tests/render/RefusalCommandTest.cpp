// What tenvoria-render refuses, run as a process: files that are no record, read as none; outputs
// that would destroy a record, the settings store, a file the run reads, or each other. Each refusal
// names the file and why, exits non-zero and writes nothing.
#include "RenderProcess.h"
#include "TestFiles.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using testsupport::Ran;
using testsupport::render;

const record::LockCost kCheap{1, 64 * 1024};

QString writeLocked(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    const record::Passphrase passphrase(QStringLiteral("open sesame"));
    record::writeApplicantFile(path, {{QStringLiteral("App Info Name"), QStringLiteral("Ana")}}, &passphrase, kCheap);
    return path;
}

TEST(RenderRefusals, SettingsThatAreNoRecordAreRefusedWithTheReason)
{
    QTemporaryDir dir;
    const QString random = dir.filePath(QStringLiteral("random.conf"));
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 7919 + 13) % 251);
    testsupport::writeTestFile(random, noise);
    QByteArray lockedBytes = testsupport::readTestFile(writeLocked(dir, QStringLiteral("whole.tenvoria")));
    const QString damaged = dir.filePath(QStringLiteral("damaged.tenvoria"));
    testsupport::writeTestFile(damaged, QByteArray(lockedBytes).replace(0, 1, "X"));
    const QString cut = dir.filePath(QStringLiteral("cut.tenvoria"));
    testsupport::writeTestFile(cut, lockedBytes.left(7));
    const QString fifo = dir.filePath(QStringLiteral("fifo.conf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const QString doc = dir.filePath(QStringLiteral("form.doc")), saved = dir.filePath(QStringLiteral("saved.tenvoria"));
    const struct {
        QString settings;
        const char *reason;
    } cases[] = {{random, "not a text file"}, {damaged, "not a text file"}, {cut, "no applicant file"},
                 {fifo, "not a regular file"}};
    for (const auto &c : cases) {
        for (const QStringList &output : {QStringList{QStringLiteral("--doc"), doc},
                                          QStringList{QStringLiteral("--save-applicant"), saved}}) {
            SCOPED_TRACE((c.settings + QLatin1Char(' ') + output.constFirst()).toStdString());
            const Ran ran = render(QStringList{QStringLiteral("--settings"), c.settings} + output);
            EXPECT_EQ(ran.exitCode, 1);
            EXPECT_TRUE(ran.err.contains(c.settings.toUtf8()) && ran.err.contains(c.reason)) << ran.err.toStdString();
            EXPECT_FALSE(ran.err.contains("window")) << ran.err.toStdString(); // a tool without one
            EXPECT_FALSE(QFile::exists(doc) || QFile::exists(saved));
        }
    }

    const Ran unnamed = render({QStringLiteral("--settings"), QString(), QStringLiteral("--doc"), doc});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_TRUE(unnamed.err.contains("--settings names no file")) << unnamed.err.toStdString();

    // The user's own store is read the same way: garbage there is no blank record either.
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    testsupport::writeTestFile(config + QStringLiteral("/Marrowick.conf"), noise);
    const Ran store = render({QStringLiteral("--doc"), doc}, {}, config);
    EXPECT_EQ(store.exitCode, 1);
    EXPECT_TRUE(store.err.contains("Marrowick.conf") && store.err.contains("not a text file")) << store.err.toStdString();
    EXPECT_FALSE(QFile::exists(doc));
}

TEST(RenderRefusals, AnExportNeverReplacesARecordTheStoreOrAnotherOutput)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(plain, {{QStringLiteral("App Info Name"), QStringLiteral("Ana")}});
    const QString locked = writeLocked(dir, QStringLiteral("bo.tenvoria"));
    const QString toLocked = dir.filePath(QStringLiteral("link-to-bo"));
    ASSERT_TRUE(QFile::link(locked, toLocked));
    const QByteArray plainBytes = testsupport::readTestFile(plain), lockedBytes = testsupport::readTestFile(locked);
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    const QString store = config + QStringLiteral("/Marrowick.conf"); // not there yet: still the store's place
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const QString toPdf = dir.filePath(QStringLiteral("link-to-out.pdf")); // whose file is not there yet
    ASSERT_TRUE(QFile::link(QStringLiteral("out.pdf"), toPdf));
    const QString pass = dir.filePath(QStringLiteral("pass"));
    testsupport::writeTestFile(pass, "open sesame\n");
    const QString compare = dir.path(), rent = QStringLiteral("900");

    const struct {
        QStringList arguments;
        const char *reason;
    } cases[] = {
        {{QStringLiteral("--compare"), compare, QStringLiteral("--rent"), rent, QStringLiteral("--csv"), plain},
         "an applicant file: an export is never written over one"},
        {{QStringLiteral("--compare"), compare, QStringLiteral("--rent"), rent, QStringLiteral("--pdf"), toLocked},
         "an applicant file"},
        {{QStringLiteral("--sample"), QStringLiteral("--doc"), locked}, "an applicant file"},
        {{QStringLiteral("--sample"), QStringLiteral("--fillable-pdf"), plain}, "an applicant file"},
        {{QStringLiteral("--sample"), QStringLiteral("--doc"), store}, "the settings store"},
        {{QStringLiteral("--compare"), compare, QStringLiteral("--rent"), rent, QStringLiteral("--pdf"), pdf,
          QStringLiteral("--csv"), dir.filePath(QStringLiteral("./sub/../out.pdf"))},
         "--pdf and --csv name the same file"},
        {{QStringLiteral("--sample"), QStringLiteral("--pdf"), pdf, QStringLiteral("--image"), toPdf}, "name the same file"},
        {{QStringLiteral("--sample"), QStringLiteral("--save-applicant"), pass, QStringLiteral("--passphrase-file"), pass},
         "which --passphrase-file reads"},
        {{QStringLiteral("--sample"), QStringLiteral("--save-applicant"), locked}, "a locked applicant file"},
        {{QStringLiteral("--sample"), QStringLiteral("--save-applicant"), store, QStringLiteral("--passphrase-file"), pass},
         "the settings store"},
        {{QStringLiteral("--import-pdf"), plain, QStringLiteral("--record-out"), toLocked}, "a locked applicant file"},
    };
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Ran ran = render(c.arguments, {}, config);
        EXPECT_EQ(ran.exitCode, 2);
        EXPECT_TRUE(ran.err.contains(c.reason)) << ran.err.toStdString();
        EXPECT_EQ(testsupport::readTestFile(plain), plainBytes);
        EXPECT_EQ(testsupport::readTestFile(locked), lockedBytes);
        EXPECT_EQ(testsupport::readTestFile(pass), QByteArray("open sesame\n"));
        EXPECT_FALSE(QFile::exists(pdf) || QFile::exists(store));
    }

    // A record read from a file may be written back to it, locked this time.
    const Ran relocked = render({QStringLiteral("--settings"), plain, QStringLiteral("--save-applicant"), plain,
                                 QStringLiteral("--passphrase-file"), pass},
                                {}, config);
    EXPECT_EQ(relocked.exitCode, 0) << relocked.err.toStdString();
    EXPECT_TRUE(record::isLockedApplicantFile(plain));
}

} // namespace
