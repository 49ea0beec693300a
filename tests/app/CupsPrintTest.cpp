// Printing through a real print system: a private cupsd with a cups-pdf queue takes the sample
// form from the same calls the print dialog's OK makes, and the PDF that comes out at the far
// end is read back. Needs root, as the cups-pdf backend refuses to run otherwise (CI runs as
// root); everything it creates lives in a temporary folder, apart from cups-pdf's per-queue
// configuration, which can only live in /etc/cups and is removed again.
#include "PrintTestTools.h"

#include "app/FormPages.h"
#include "preview/PrintJob.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace printtest;

namespace {

const QString kCupsd = QStringLiteral("/usr/sbin/cupsd");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// cupsd on a Unix socket of its own, its spool, logs and the printed PDFs in one folder.
class PrivatePrintSystem {
public:
    PrivatePrintSystem()
        : queue_(QStringLiteral("tenvoria-test-%1").arg(::getpid())),
          pdfConfig_(QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(queue_))
    {
    }

    ~PrivatePrintSystem() { stop(); }

    const QString &queue() const { return queue_; }
    QString socket() const { return path(QStringLiteral("cups.sock")); }
    QString outFolder() const { return path(QStringLiteral("out")); }
    QString errorLog() const { return path(QStringLiteral("log/error_log")); }

    // Empty on success, else what went wrong.
    QString start()
    {
        if (!folder_.isValid())
            return QStringLiteral("no temporary folder");
        // Filters run as the lp user: the folder must be open to it.
        QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        for (const char *sub : {"spool", "tmp", "cache", "state", "log", "out", "cups-pdf-spool"})
            QDir(folder_.path()).mkdir(QLatin1String(sub));
        ::chmod(QFile::encodeName(path(QStringLiteral("tmp"))).constData(), 01777);
        ::chmod(QFile::encodeName(outFolder()).constData(), 01777);

        const QString cupsd = QStringLiteral("Listen %1\nLogLevel debug\nWebInterface No\nBrowsing Off\n"
                                             "DefaultAuthType None\n"
                                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                             "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                                  .arg(socket());
        const QString files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                                             "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                             "PageLog %1/log/page_log\nSystemGroup root\n")
                                  .arg(folder_.path());
        const QString pdf = QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\nLogType 7\n")
                                .arg(outFolder(), path(QStringLiteral("cups-pdf-spool")), path(QStringLiteral("log")));
        if (!writeText(path(QStringLiteral("cupsd.conf")), cupsd) || !writeText(path(QStringLiteral("cups-files.conf")), files))
            return QStringLiteral("cannot write the cupsd configuration");
        if (!writeText(pdfConfig_, pdf))
            return QStringLiteral("cannot write %1").arg(pdfConfig_);
        wrotePdfConfig_ = true;

        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        daemon_.start(kCupsd, {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("cupsd.conf")),
                               QStringLiteral("-s"), path(QStringLiteral("cups-files.conf"))});
        if (!daemon_.waitForStarted(10000))
            return QStringLiteral("cupsd did not start: %1").arg(daemon_.errorString());
        const QDeadlineTimer deadline(20000);
        while (!QFileInfo::exists(socket()) && !deadline.hasExpired() && daemon_.state() == QProcess::Running)
            QThread::msleep(50);
        if (!QFileInfo::exists(socket()))
            return QStringLiteral("cupsd made no socket: %1").arg(QString::fromUtf8(daemon_.readAll()));

        // The PostScript that cups-pdf takes is made with Poppler's cairo renderer, which keeps
        // the text's characters, so that the printed PDF can be read back.
        const ProgramRun added = runProgram(QStringLiteral("lpadmin"),
                                      {QStringLiteral("-h"), socket(), QStringLiteral("-p"), queue_, QStringLiteral("-E"),
                                       QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + queue_, QStringLiteral("-P"), kPpd,
                                       QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo")});
        if (added.exitCode != 0)
            return QStringLiteral("lpadmin failed: %1").arg(added.errors);
        return QString();
    }

    // True once the queue has no job left to do.
    bool idle() const
    {
        const ProgramRun jobs = runProgram(QStringLiteral("lpstat"), {QStringLiteral("-h"), socket(), QStringLiteral("-W"),
                                                                QStringLiteral("not-completed"), QStringLiteral("-o"), queue_});
        return jobs.exitCode == 0 && jobs.output.trimmed().isEmpty();
    }

    void stop()
    {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            if (!daemon_.waitForFinished(10000)) {
                daemon_.kill();
                daemon_.waitForFinished();
            }
        }
        if (wrotePdfConfig_) {
            QFile::remove(pdfConfig_);
            wrotePdfConfig_ = false;
        }
    }

private:
    QString path(const QString &name) const { return QDir(folder_.path()).filePath(name); }

    QTemporaryDir folder_;
    QString queue_;
    QString pdfConfig_;
    bool wrotePdfConfig_ = false;
    QProcess daemon_;
};

TEST(CupsPrint, TheSampleFormComesOutOfACupsPdfQueueAsOnePageWithEveryCellsText)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the cups-pdf backend runs only as root";
    for (const QString &needed : {kCupsd, kBackend, kPpd})
        ASSERT_TRUE(QFileInfo::exists(needed)) << needed.toStdString() << " is missing: run tools/install-deps.sh";

    PrivatePrintSystem cups;
    const QString problem = cups.start();
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    // Before any printer is looked up: the CUPS library reads the server once.
    qputenv("CUPS_SERVER", QFile::encodeName(cups.socket()));

    QTemporaryDir temp;
    QStringList cellTexts;
    const QString doc = generateForm(Record::Sample, temp.path(), &cellTexts);
    ASSERT_FALSE(doc.isEmpty());

    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(cups.queue()))
        << "Qt does not see the queue " << cups.queue().toStdString();
    app::FormPages pages;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(cups.queue());
        // What the dialog's OK leads to: the printer readied, then the pages printed.
        preview::preparePrinter(pages, doc, printer);
        ASSERT_NO_THROW(preview::printDocument(pages, doc, printer));
    }

    QString printed;
    const QDeadlineTimer deadline(90000);
    while (!deadline.hasExpired()) {
        const QStringList found = QDir(cups.outFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        if (!found.isEmpty() && cups.idle()) {
            printed = QDir(cups.outFolder()).filePath(found.first());
            break;
        }
        QThread::msleep(200);
    }
    cups.stop();
    QFile log(cups.errorLog());
    log.open(QIODevice::ReadOnly);
    ASSERT_FALSE(printed.isEmpty()) << "nothing came out of the queue; cupsd's log ends:\n"
                                    << log.readAll().right(3000).toStdString();

    const ProgramRun info = runProgram(QStringLiteral("pdfinfo"), {printed});
    EXPECT_TRUE(info.output.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"), QRegularExpression::MultilineOption)))
        << info.output.toStdString();
    EXPECT_TRUE(info.output.contains(QStringLiteral("612 x 792 pts"))) << info.output.toStdString();
    // On paper a ligature is its glyph; the PostScript step of the PDF printer drops which
    // letters the glyph stands for ("Office" comes back as "O", a control character, "ce"), so
    // letters that the fonts join, and such stand-ins, are left out of the comparison.
    const auto withoutLigatures = [](QString text) {
        static const QRegularExpression joined(QStringLiteral("f+[il]?|[\\x{1}-\\x{8}]"));
        return text.remove(joined);
    };
    QStringList expected;
    for (const QString &text : cellTexts)
        expected << withoutLigatures(text);
    const QString text = withoutLigatures(flatTextOf(printed));
    const QStringList missing = missingTexts(expected, text);
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " texts missing, first: " << missing.value(0).toStdString()
                                   << "\nin: " << text.toStdString();
}

} // namespace
