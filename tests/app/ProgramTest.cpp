// The whole program wired as main() wires it, with the real engine, generator and windows on the
// offscreen platform: start, sample, generate, preview, zoom, drag, save, back, generate again,
// close. Only the platform's edges (message boxes, the save dialog, ending the process) are
// answered by the test.
#include "RecordingStartupServices.h"
#include "ScriptedShellTest.h"
#include "TestFiles.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedPassphrasePrompt.h"
#include "Unprivileged.h"
#include "app/EngineSetup.h"
#include "app/Program.h"
#include "app/SingleInstance.h"
#include "entry/ApplicantFiles.h"
#include "entry/MainWindow.h"
#include "entry/RecordPersistence.h"
#include "generator/OutputFiles.h"
#include "automation/WordAutomation.h"
#include "preview/PreviewWindow.h"
#include "preview/SaveFileDialog.h"
#include "runtime/ErrorTrap.h"
#include "record/ApplicantFile.h"
#include "record/LockedFile.h"
#include "record/SettingsStore.h"
#include "form/FormEngine.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <set>

namespace {

class AnsweringSaveDialog final : public preview::SaveFileDialog {
public:
    QString answer;
    QString askSavePath(QWidget *, const preview::SaveFileRequest &) override { return answer; }
};

// Notes every procedure that ran a labelled line, by its location text.
class LocationProbe final : public runtime::TrapProbe {
public:
    std::set<QString> locations;
    bool lineStarts(const QString &location, int) override
    {
        locations.insert(location);
        return false;
    }
};

// The environment of the program started as a process of its own: a private home and settings
// folder, and no display.
QProcessEnvironment programEnvironment(const QString &home, const QString &config)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

QString cellText(const wordproc::Document &document, int row, int cell)
{
    const auto &table = std::get<wordproc::Table>(document.body.front());
    return table.rows[row].cells[cell].paragraphs.front().text();
}

class ProgramTest : public testsupport::ScriptedShellTest {
protected:
    QTemporaryDir temp;
    LocationProbe probe;
    runtime::ScopedTrapProbe probeScope{probe};
    form::FormEngine engine{temp.filePath(QStringLiteral("engine.lock"))};
    record::SettingsStore store{temp.filePath(QStringLiteral("Marrowick.conf"))};

    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        // The list of recent applicant files, outside the store, is this test's own too.
        qputenv("XDG_STATE_HOME", QFile::encodeName(temp.filePath(QStringLiteral("state"))));
    }

    static preview::PreviewWindow *previewWindow()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<preview::PreviewWindow *>(widget))
                return form;
        return nullptr;
    }
    static void click(QWidget *window, const char *button)
    {
        auto *found = window->findChild<QPushButton *>(QLatin1String(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }
    static void mouseOnPage(preview::PreviewWindow *form, QEvent::Type type, QPointF at, Qt::MouseButtons held)
    {
        QWidget *page = form->findChild<QWidget *>(QStringLiteral("Picture1"));
        ASSERT_NE(page, nullptr);
        QMouseEvent event(type, at, page->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held, Qt::NoModifier);
        QApplication::sendEvent(page, &event);
    }
};

// The preview's PDF and its text for screen readers are the document the engine read back to
// draw the page, each run's own: a second run shows its own text, and a change to the file on
// disk after the hand-over does not reach the PDF.
TEST_F(ProgramTest, ThePreviewsOutputsComeFromTheDocumentEachRunHandedOver)
{
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    click(&main, "PushButton3"); // sample
    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("First Applicant"));
    click(&main, "PushButton1");
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    QWidget *page = preview->findChild<QWidget *>(QStringLiteral("Picture1"));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->accessibleDescription().contains(QStringLiteral("First Applicant")));
    click(preview, "PushButton8"); // back

    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("Second Applicant"));
    click(&main, "PushButton1");
    EXPECT_TRUE(page->accessibleDescription().contains(QStringLiteral("Second Applicant")));
    EXPECT_FALSE(page->accessibleDescription().contains(QStringLiteral("First Applicant")));

    testsupport::writeTestFile(preview->wordFile(), "changed on disk");
    const std::size_t shownBefore = boxes.shown.size();
    AnsweringSaveDialog dialog;
    dialog.answer = temp.filePath(QStringLiteral("form.pdf"));
    preview->setSaveFileDialog(&dialog);
    click(preview, "PushButton6");
    ASSERT_EQ(boxes.shown.size(), shownBefore + 1);
    EXPECT_EQ(boxes.shown.back().text, QStringLiteral("Done."));
    EXPECT_TRUE(testsupport::readTestFile(dialog.answer).startsWith("%PDF-"));
    click(preview, "PushButton8");
}

TEST_F(ProgramTest, WholeRunFromTheMainWindowThroughThePreviewAndBack)
{
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(previewWindow(), nullptr); // the preview is made at the first hand-over

    click(&main, "PushButton3"); // sample
    click(&main, "PushButton2"); // help
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Questions? Please contact Team Marrowick at ")));

    click(&main, "PushButton1"); // start creating
    QApplication::processEvents();
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(main.mousePointer(), shell::Pointer::Default);
    const QString firstDocument = preview->wordFile();
    ASSERT_TRUE(QFile::exists(firstDocument));
    EXPECT_TRUE(firstDocument.startsWith(temp.path()));
    EXPECT_EQ(cellText(wordproc::readDoc(firstDocument), 2, 0), QStringLiteral("Name: Dorian Pellwick Jr."));
    // A screen reader reads the page as the form's text, row by row and cell by cell.
    {
        const QString pageText = preview->findChild<QWidget *>(QStringLiteral("Picture1"))->accessibleDescription();
        const wordproc::Document document = wordproc::readDoc(firstDocument);
        const auto &rows = std::get<wordproc::Table>(document.body.front()).rows;
        const QString lastCell = rows.back().cells.back().paragraphs.front().text();
        const qsizetype name = pageText.indexOf(QStringLiteral("Name: Dorian Pellwick Jr."));
        EXPECT_GT(name, pageText.indexOf(cellText(document, 0, 0))) << pageText.toStdString();
        EXPECT_LT(name, pageText.indexOf(cellText(document, 3, 0)));
        EXPECT_TRUE(pageText.endsWith(lastCell)) << lastCell.toStdString();
    }
    EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("temp.bmp"))));

    click(preview, "PushButton1"); // zoom in
    click(preview, "PushButton2"); // zoom out
    mouseOnPage(preview, QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton);
    mouseOnPage(preview, QEvent::MouseMove, {10, 10}, Qt::LeftButton);
    mouseOnPage(preview, QEvent::MouseButtonRelease, {10, 10}, Qt::NoButton);

    AnsweringSaveDialog dialog;
    dialog.answer = temp.filePath(QStringLiteral("My form.doc"));
    preview->setSaveFileDialog(&dialog);
    click(preview, "PushButton6"); // save
    EXPECT_EQ(testsupport::readTestFile(dialog.answer), testsupport::readTestFile(firstDocument));
    EXPECT_EQ(boxes.shown.back().text, QStringLiteral("Done."));

    click(preview, "PushButton8"); // back
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(QFile::exists(firstDocument));
    EXPECT_TRUE(QFile::exists(dialog.answer));

    // Again, with what the window shows now, into the same preview window.
    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("Second Applicant"));
    click(&main, "PushButton1");
    QApplication::processEvents();
    EXPECT_EQ(previewWindow(), preview);
    EXPECT_TRUE(preview->isVisible());
    const QString secondDocument = preview->wordFile();
    ASSERT_TRUE(QFile::exists(secondDocument));
    EXPECT_NE(secondDocument, firstDocument);
    EXPECT_EQ(cellText(wordproc::readDoc(secondDocument), 2, 0), QStringLiteral("Name: Second Applicant"));

    // Closing the preview deletes the document and ends the program.
    preview->close();
    EXPECT_FALSE(QFile::exists(secondDocument));
    EXPECT_EQ(services.ends, 1);

    // Only the help box and the save's confirmation were shown: no error report on the way.
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(store.read(QStringLiteral("App Info Name")), QStringLiteral("Second Applicant"));
}

// Ctrl+W, Lock and Close, works while the preview shows the applicant: the preview goes with its
// temporary document, the entries are saved locked and the window is emptied.
TEST_F(ProgramTest, LockAndCloseWorksFromThePreview)
{
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    testsupport::ScriptedPassphrasePrompt prompt;
    prompt.newAnswers = {QStringLiteral("pass")};
    entry::ApplicantFiles &files = main.applicantFiles();
    files.setPassphrasePrompt(&prompt);
    files.setLockCost(record::LockCost{1, 64 * 1024});
    const QString file = temp.filePath(QStringLiteral("dorian.tenvoria"));
    files.setAskFileName([&](entry::ApplicantFiles::Dialog, const QString &) { return file; });
    click(&main, "PushButton3"); // sample
    click(&main, "PushButton1"); // start creating
    QApplication::processEvents();
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->isVisible());
    const QString document = preview->wordFile();

    QApplication::setActiveWindow(preview);
    QTest::keyClick(preview, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(main.record().text(QStringLiteral("txtAppInfoName"))->text(), QString());
    const record::Passphrase pass(QStringLiteral("pass"));
    EXPECT_EQ(record::readApplicantFile(file, &pass).value(QStringLiteral("App Info Name")),
              QStringLiteral("Dorian Pellwick Jr."));
}

// The window shows with the icon's small sizes; the large ones, most of its decoding, follow once
// it has painted, for the window and for every window after it.
TEST_F(ProgramTest, TheMainWindowShowsWithTheSmallIconsAndGetsTheLargeOnesOncePainted)
{
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    EXPECT_EQ(main.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {48, 48}}));
    for (int i = 0; i < 50 && main.windowIcon().availableSizes().size() < 4; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QList<QSize> all{{32, 32}, {48, 48}, {128, 128}, {256, 256}};
    EXPECT_EQ(main.windowIcon().availableSizes(), all);
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), all);
}

// Entries a refused write left unsaved are not lost by closing the preview: the program asks as
// the main window's close does, with No the default, and No keeps the preview and its document.
TEST_F(ProgramTest, ClosingThePreviewWithUnsavedEntriesAsksBeforeEnding)
{
    const QString folder = temp.filePath(QStringLiteral("cfg"));
    ASSERT_TRUE(QDir().mkpath(folder));
    record::SettingsStore brokenStore(folder + QStringLiteral("/Marrowick.conf"));
    app::Program program(brokenStore, engine, {temp.path(), {}});
    ASSERT_TRUE(program.start());
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder); // a file where the store's folder should be: nothing can be written
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("typed while broken"));
    ASSERT_EQ(boxes.shown.size(), 1u); // the notice that the entries could not be saved
    click(&main, "PushButton1");
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    const QString document = preview->wordFile();

    boxes.answers = {runtime::BoxAnswer::No};
    preview->close();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].question);
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("Close anyway?")));
    EXPECT_EQ(boxes.shown[1].defaultAnswer, runtime::BoxAnswer::No);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(QFile::exists(document));
    EXPECT_EQ(services.ends, 0);

    boxes.answers = {runtime::BoxAnswer::Yes};
    preview->close();
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(services.ends, 1);
}

TEST_F(ProgramTest, EveryTrappedProcedureRunsUnderItsOwnLocationText)
{
    app::Program program(store, engine, {temp.path(), {}});
    ASSERT_TRUE(program.start());
    entry::MainWindow &main = program.mainWindow();
    click(&main, "PushButton2");
    click(&main, "PushButton3");
    click(&main, "PushButton1");
    QApplication::processEvents();
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    preview->activateWindow();
    QApplication::processEvents();
    click(preview, "PushButton1");
    click(preview, "PushButton2");
    mouseOnPage(preview, QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton);
    mouseOnPage(preview, QEvent::MouseMove, {10, 10}, Qt::LeftButton);
    mouseOnPage(preview, QEvent::MouseButtonRelease, {10, 10}, Qt::NoButton);
    AnsweringSaveDialog cancel;
    preview->setSaveFileDialog(&cancel);
    click(preview, "PushButton6");
    click(preview, "PushButton8");
    click(&main, "PushButton1");
    preview->close();

    const std::set<QString> expected = {
        QStringLiteral("in Quenlow2021/08/31.Form1.PushButton1_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form1.Form_Load "),
        QStringLiteral("in Quenlow2021/08/31.Form1.PushButton2_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form1.PushButton3_Click "),
        QStringLiteral("in Quenlow2021/08/31.RentalApplication.GenerateRentalApplication "),
        QStringLiteral("in Quenlow2021/08/31.RentalApplication.SaveDocAsJPG "),
        QStringLiteral("in Quenlow2021/08/31.Form2.Form_Activate "),
        QStringLiteral("in Quenlow2021/08/31.Form2.Form_Load "),
        QStringLiteral("in Quenlow2021/08/31.Form2.Form_QueryUnload "),
        QStringLiteral("in Quenlow2021/08/31.Form2.PushButton1_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form2.PushButton2_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form2.PushButton6_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form2.PushButton8_Click "),
        QStringLiteral("in Quenlow2021/08/31.Form2.picture1_MouseDown "),
        QStringLiteral("in Quenlow2021/08/31.Form2.picture1_MouseMove "),
        QStringLiteral("in Quenlow2021/08/31.Form2.Picture1_MouseUp "),
        QStringLiteral("in Quenlow2021/08/31.Form2.RedrawImage "),
    };
    EXPECT_EQ(probe.locations, expected);
}

TEST_F(ProgramTest, ALineThatFailsIsReportedWithItsProceduresLocationAndTheProgramGoesOn)
{
    // PreviewWindow's zoom-in click fails at its only line: the report names it, and nothing else breaks.
    class FailZoomIn final : public runtime::TrapProbe {
    public:
        bool lineStarts(const QString &location, int label) override
        {
            return location == QLatin1String("in Quenlow2021/08/31.Form2.PushButton1_Click ") && label == 100;
        }
    } failZoomIn;
    runtime::ScopedTrapProbe scope{failZoomIn};
    app::Program program(store, engine, {temp.path(), {}});
    ASSERT_TRUE(program.start());
    click(&program.mainWindow(), "PushButton1");
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    const float zoom = preview->zoomState().factor;
    click(preview, "PushButton1");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Application Error"));
    EXPECT_TRUE(boxes.shown[0].text.contains(
        QStringLiteral("\r\nin Quenlow2021/08/31.Form2.PushButton1_Click at line 100\r\r")));
    EXPECT_EQ(preview->zoomState().factor, zoom);
    click(preview, "PushButton8");
    EXPECT_TRUE(program.mainWindow().isVisible());
}

// `tenvoria FILE`: the applicant file opens at start-up, its name in the title, the store following.
TEST_F(ProgramTest, AnApplicantFileGivenAtStartIsOpened)
{
    const QString file = temp.filePath(QStringLiteral("lee.tenvoria"));
    record::writeApplicantFile(file, {{QStringLiteral("App Info Name"), QStringLiteral("Lee")}});
    app::Program program(store, engine, {temp.path(), {}});
    ASSERT_TRUE(program.start(file));
    EXPECT_EQ(program.mainWindow().windowTitle(), QStringLiteral("Tenvoria \u2014 lee.tenvoria"));
    EXPECT_EQ(program.mainWindow().record().text(QStringLiteral("txtAppInfoName"))->text(), QStringLiteral("Lee"));
    EXPECT_EQ(record::SettingsStore(store.filePath()).read(QStringLiteral("App Info Name")), QStringLiteral("Lee"));
    program.mainWindow().hide();

    // The next run, without a file: the fields hold what the file used last holds, so that file is
    // the open one and quitting asks nothing; once they differ, the title is the program's alone.
    app::Program again(store, engine, {temp.path(), {}});
    ASSERT_TRUE(again.start());
    EXPECT_EQ(again.mainWindow().windowTitle(), QStringLiteral("Tenvoria \u2014 lee.tenvoria"));
    EXPECT_FALSE(again.mainWindow().applicantFiles().hasUnsavedEntries());
    again.mainWindow().hide();

    // Started with another file after such a run: the entries are lee.tenvoria's, so the other
    // opens without a question whose default, Cancel, would leave it unopened.
    const QString other = temp.filePath(QStringLiteral("kim.tenvoria"));
    record::writeApplicantFile(other, {{QStringLiteral("App Info Name"), QStringLiteral("Kim")}});
    boxes.saveAnswers = {runtime::SaveAnswer::Cancel};
    app::Program withOther(store, engine, {temp.path(), {}});
    ASSERT_TRUE(withOther.start(other));
    EXPECT_TRUE(boxes.saveQuestions.empty());
    EXPECT_EQ(withOther.mainWindow().windowTitle(), QStringLiteral("Tenvoria \u2014 kim.tenvoria"));
    withOther.mainWindow().hide();
    store.write(QStringLiteral("App Info Name"), QStringLiteral("Changed"));
    app::Program third(store, engine, {temp.path(), {}});
    ASSERT_TRUE(third.start());
    EXPECT_EQ(third.mainWindow().windowTitle(), QStringLiteral("Tenvoria"));
    EXPECT_TRUE(third.mainWindow().applicantFiles().hasUnsavedEntries());
}

// A later start while the preview is the window shown: that window comes forward, and a handed-over
// file takes the main window back only once it is open; a file whose passphrase is not given
// leaves the preview and its document as they were.
TEST_F(ProgramTest, AHandOverWhileThePreviewShowsRaisesItAndLeavesItOnlyForAnOpenedFile)
{
    app::Program program(store, engine, {temp.path(), {}});
    entry::MainWindow &main = program.mainWindow();
    ASSERT_TRUE(program.start());
    click(&main, "PushButton3"); // sample: entries in no file
    click(&main, "PushButton1");
    QApplication::processEvents();
    preview::PreviewWindow *preview = previewWindow();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->isVisible());
    const QString document = preview->wordFile();

    QWidget elsewhere; // the user has gone on to another window
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &elsewhere);
    program.receiveHandedOver({});
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(main.isVisible());

    testsupport::ScriptedPassphrasePrompt prompt; // cancels the passphrase question
    main.applicantFiles().setPassphrasePrompt(&prompt);
    const QString locked = temp.filePath(QStringLiteral("locked.tenvoria"));
    const record::Passphrase passphrase(QStringLiteral("correct horse"));
    record::writeApplicantFile(locked, {{QStringLiteral("App Info Name"), QStringLiteral("Locked")}}, &passphrase,
                               record::LockCost{1, 64 * 1024});
    boxes.saveAnswers = {runtime::SaveAnswer::Discard, runtime::SaveAnswer::Discard};
    program.receiveHandedOver({locked, {}});
    EXPECT_EQ(prompt.openQuestions.size(), 1u);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(preview->wordFile(), document);
    EXPECT_TRUE(QFile::exists(document));

    const QString plain = temp.filePath(QStringLiteral("plain.tenvoria"));
    record::writeApplicantFile(plain, {{QStringLiteral("App Info Name"), QStringLiteral("Plain")}});
    program.receiveHandedOver({plain, {}});
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(main.record().text(QStringLiteral("txtAppInfoName"))->text(), QStringLiteral("Plain"));
    main.hide();
}

// A request that comes while a question is open waits for the answer, but the question comes
// forward at once: the later start has visibly reached this copy.
TEST_F(ProgramTest, AHandOverDuringAnOpenQuestionBringsItForwardAndWaitsForIt)
{
    app::SingleInstance instance(store.filePath());
    ASSERT_TRUE(instance.listen());
    std::vector<app::HandOver> received;
    instance.setReceiver([&](const app::HandOver &request) { received.push_back(request); });
    QDialog question;
    question.setModal(true);
    question.show();
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &elsewhere);

    QLocalSocket later;
    later.connectToServer(app::SingleInstance::serverName(store.filePath()));
    ASSERT_TRUE(later.waitForConnected(1000));
    later.write("/srv/a.tenvoria\t\n");
    later.flush();
    const auto pumpUntil = [](const std::function<bool()> &done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    pumpUntil([&] { return QApplication::activeWindow() == &question; });
    EXPECT_EQ(QApplication::activeWindow(), &question);
    EXPECT_TRUE(received.empty());
    question.hide(); // answered
    pumpUntil([&] { return !received.empty(); });
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].applicantFile, QStringLiteral("/srv/a.tenvoria"));
}

// The File menu's fillable PDF, through the module the program loads for it: exported with the
// window's values, changed, imported back, the window holds them again and one box says what was
// taken.
TEST_F(ProgramTest, TheFillablePdfExportedFromTheMenuImportsBack)
{
    app::Program program(store, engine, {temp.path(), {}}, QStringLiteral(TENVORIA_PDFFORM_MODULE));
    ASSERT_TRUE(program.start());
    entry::MainWindow &main = program.mainWindow();
    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("Zoë \u0928\u093e\u092e"));
    main.record().option(QStringLiteral("optAppInfoCurrentRent"))->setChecked(true);
    const QMap<QString, QString> exported = main.persistence().currentRecord();
    const QString pdf = temp.filePath(QStringLiteral("form.pdf"));
    ASSERT_TRUE(main.applicantFiles().exportFillablePdf(pdf, true));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(pdf));

    boxes.saveAnswers = {runtime::SaveAnswer::Discard};
    ASSERT_TRUE(main.applicantFiles().newApplicant());
    ASSERT_TRUE(main.applicantFiles().importFilledPdf(pdf));
    EXPECT_EQ(main.persistence().currentRecord(), exported);
    ASSERT_EQ(boxes.shown.size(), 3u); // the export's notice, New's question, the import's summary
    // The summary names fields as the window shows them, not by their settings keys.
    EXPECT_TRUE(boxes.shown[2].text.contains(QStringLiteral("Applicant Information: Name"))) << boxes.shown[2].text.toStdString();
    EXPECT_FALSE(boxes.shown[2].text.contains(QStringLiteral("App Info Name")));
    // What came from the PDF is in no applicant file: New asks before it goes.
    EXPECT_TRUE(main.applicantFiles().hasUnsavedEntries());

    // Not a PDF of ours: refused with the path, nothing changed.
    const QString foreign = temp.filePath(QStringLiteral("other.pdf"));
    QFile out(foreign);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("%PDF-1.4\nnot really\n");
    out.close();
    EXPECT_FALSE(main.applicantFiles().importFilledPdf(foreign));
    EXPECT_TRUE(boxes.shown.back().text.contains(foreign));
    EXPECT_EQ(main.persistence().currentRecord(), exported);
}

// Without its module the fillable PDF's export and import fail as theirs do, naming the module and
// why it could not be loaded; the window and its entries stay.
TEST_F(ProgramTest, AMissingPdfModuleIsToldByTheExportAndTheImport)
{
    const QString module = temp.filePath(QStringLiteral("gone/tenvoria-pdfform.so"));
    app::Program program(store, engine, {temp.path(), {}}, module);
    ASSERT_TRUE(program.start());
    entry::MainWindow &main = program.mainWindow();
    main.record().text(QStringLiteral("txtAppInfoName"))->setText(QStringLiteral("Kept"));
    const QString pdf = temp.filePath(QStringLiteral("form.pdf"));
    EXPECT_FALSE(main.applicantFiles().exportFillablePdf(pdf, true));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(main.applicantFiles().importFilledPdf(pdf));
    ASSERT_EQ(boxes.shown.size(), 2u);
    for (const auto &box : boxes.shown)
        EXPECT_TRUE(box.text.contains(module) && box.text.contains(QLatin1String("No such file"))) << box.text.toStdString();
    EXPECT_EQ(main.record().text(QStringLiteral("txtAppInfoName"))->text(), QStringLiteral("Kept"));
}

// The same from the command line, as the desktop entry's "tenvoria %f" runs it.
TEST(ProgramProcess, TheFileOnTheCommandLineIsOpened)
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("with space.tenvoria"));
    record::writeApplicantFile(file, {{QStringLiteral("Co Name"), QStringLiteral("From the command line")}});
    QProcess program;
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TENVORIA_PROGRAM), {file});
    ASSERT_TRUE(program.waitForStarted());
    // The open writes the recent list, then the store; the program then waits for the user.
    const QString recent = home.filePath(QStringLiteral("state/tenvoria/recent"));
    const auto stored = [&] {
        return record::SettingsStore(home.filePath(QStringLiteral("config/Marrowick.conf"))).read(QStringLiteral("Co Name"));
    };
    for (int waits = 0; waits < 600 && (!QFile::exists(recent) || stored().isEmpty()) && program.state() == QProcess::Running;
         ++waits)
        program.waitForFinished(100);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(stored(), QStringLiteral("From the command line"));
    EXPECT_EQ(testsupport::readTestFile(recent), file.toUtf8() + '\n');
}

// Two double clicks in a file manager: the second start hands its file to the first and ends, so
// that one window, showing the second file, owns the record.
TEST(ProgramProcess, ASecondStartHandsItsFileToTheRunningCopyAndEnds)
{
    QTemporaryDir home;
    const QString a = home.filePath(QStringLiteral("a.tenvoria"));
    const QString b = home.filePath(QStringLiteral("b.tenvoria"));
    record::writeApplicantFile(a, {{QStringLiteral("App Info Name"), QStringLiteral("Ana")}});
    record::writeApplicantFile(b, {{QStringLiteral("App Info Name"), QStringLiteral("Bo")}});
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    const QString storePath = home.filePath(QStringLiteral("config/Marrowick.conf"));
    const auto storedName = [&] { return record::SettingsStore(storePath).read(QStringLiteral("App Info Name")); };

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(TENVORIA_PROGRAM), {a});
    ASSERT_TRUE(first.waitForStarted());
    for (int waits = 0; waits < 600 && storedName() != QLatin1String("Ana") && first.state() == QProcess::Running; ++waits)
        first.waitForFinished(100);
    ASSERT_EQ(storedName(), QStringLiteral("Ana"));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(TENVORIA_PROGRAM), {b});
    ASSERT_TRUE(second.waitForFinished(30000)) << "the second start opened a window of its own";
    EXPECT_EQ(second.exitCode(), 0);
    for (int waits = 0; waits < 100 && storedName() != QLatin1String("Bo"); ++waits)
        first.waitForFinished(100);
    EXPECT_EQ(storedName(), QStringLiteral("Bo"));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

// A copy killed outright leaves its socket behind: the next start takes it over rather than hanging
// on it or running without one, and a start after that hands its file over as usual.
TEST(ProgramProcess, TheSocketOfAKilledCopyIsTakenOver)
{
    QTemporaryDir home;
    const QString a = home.filePath(QStringLiteral("a.tenvoria"));
    record::writeApplicantFile(a, {{QStringLiteral("App Info Name"), QStringLiteral("Ana")}});
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    const QString storePath = home.filePath(QStringLiteral("config/Marrowick.conf"));
    const auto storedName = [&] { return record::SettingsStore(storePath).read(QStringLiteral("App Info Name")); };
    const auto start = [&](QProcess &process, const QStringList &arguments) {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TENVORIA_PROGRAM), arguments);
        return process.waitForStarted();
    };
    const QString b = home.filePath(QStringLiteral("b.tenvoria"));
    record::writeApplicantFile(b, {{QStringLiteral("App Info Name"), QStringLiteral("Bo")}});
    QProcess killed;
    ASSERT_TRUE(start(killed, {a}));
    for (int waits = 0; waits < 600 && storedName() != QLatin1String("Ana") && killed.state() == QProcess::Running; ++waits)
        killed.waitForFinished(100);
    ASSERT_EQ(storedName(), QStringLiteral("Ana")); // listening since before it opened the file
    // The open ends with the recent list, which tells the next start that the entries are a's: killed
    // before that, the next start would ask about entries in no file before it opened b.
    const QString recent = home.filePath(QStringLiteral("state/tenvoria/recent"));
    for (int waits = 0; waits < 600 && !QFile::exists(recent) && killed.state() == QProcess::Running; ++waits)
        killed.waitForFinished(100);
    killed.kill(); // SIGKILL: no chance to remove the socket
    killed.waitForFinished();

    QProcess second;
    ASSERT_TRUE(start(second, {b}));
    for (int waits = 0; waits < 300 && storedName() != QLatin1String("Bo") && second.state() == QProcess::Running; ++waits)
        second.waitForFinished(100);
    EXPECT_EQ(storedName(), QStringLiteral("Bo")) << second.readAllStandardError().toStdString();
    ASSERT_EQ(second.state(), QProcess::Running);
    second.waitForFinished(500);
    QProcess third;
    ASSERT_TRUE(start(third, {}));
    EXPECT_TRUE(third.waitForFinished(30000)) << "the third start opened a window of its own";
    EXPECT_EQ(second.state(), QProcess::Running);
    second.kill();
    second.waitForFinished();
}

// The arguments the program cannot use are named on one line of standard error; they stop nothing:
// the file given first opens, and the program waits for the user.
TEST(ProgramProcess, UnknownOptionsAndFurtherFilesAreIgnoredWithANotice)
{
    QTemporaryDir home;
    const QString file = home.filePath(QStringLiteral("first.tenvoria"));
    record::writeApplicantFile(file, {{QStringLiteral("Co Name"), QStringLiteral("First")}});
    QProcess program;
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TENVORIA_PROGRAM), {QStringLiteral("--no-such-option"), file, QStringLiteral("second.tenvoria")});
    ASSERT_TRUE(program.waitForStarted());
    const QString recent = home.filePath(QStringLiteral("state/tenvoria/recent"));
    for (int waits = 0; waits < 600 && !QFile::exists(recent) && program.state() == QProcess::Running; ++waits)
        program.waitForFinished(100);
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(record::SettingsStore(home.filePath(QStringLiteral("config/Marrowick.conf"))).read(QStringLiteral("Co Name")),
              QStringLiteral("First"));
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    const QStringList lines = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.filter(QStringLiteral("tenvoria: ")).size(), 1) << said.toStdString();
    const QString notice = lines.filter(QStringLiteral("tenvoria: ")).front();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("tenvoria: ignoring ")) && notice.contains(QStringLiteral("--no-such-option"))
                && notice.contains(QStringLiteral("second.tenvoria")))
        << notice.toStdString();
}

// The socket a running copy listens on is the user's alone: no other user can hand it requests.
// A later start finds it and hands over. The name carries the user, so users never meet.
TEST(ProgramProcess, TheRunningCopysSocketIsPrivateToItsUser)
{
    QTemporaryDir home;
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("TMPDIR"), home.path()); // where the socket is made
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(QStringLiteral(TENVORIA_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted());
    const QString name = app::SingleInstance::serverName(home.filePath(QStringLiteral("config/Marrowick.conf")));
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen")); // the name is the program's
    EXPECT_TRUE(name.contains(QStringLiteral("-%1-").arg(::geteuid())));
    const QByteArray socket = QFile::encodeName(home.filePath(name));
    struct stat status {};
    for (int waits = 0; waits < 600 && ::stat(socket.constData(), &status) != 0 && first.state() == QProcess::Running; ++waits)
        first.waitForFinished(100);
    ASSERT_EQ(::stat(socket.constData(), &status), 0) << first.readAll().toStdString();
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 077, 0u) << std::oct << status.st_mode;
    first.kill();
    first.waitForFinished();
}

// A copy of the program stood in for by the test: it listens where a running copy on a fresh
// home's store would, takes connections (the system does) and answers only when the test does.
struct StandInCopy {
    QTemporaryDir home;
    QLocalServer server;
    bool listening = false;

    StandInCopy()
    {
        const QByteArray temporary = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(home.path())); // where the later start looks for it
        listening = server.listen(app::SingleInstance::serverName(home.filePath(QStringLiteral("config/Marrowick.conf"))));
        temporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporary);
    }
    // The later start, its start-up marks and messages on one channel.
    void start(QProcess &later, const QStringList &arguments)
    {
        QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
        environment.insert(QStringLiteral("TMPDIR"), home.path());
        environment.insert(QStringLiteral("TENVORIA_STARTUP_TRACE"), QStringLiteral("1"));
        later.setProcessEnvironment(environment);
        later.setProcessChannelMode(QProcess::MergedChannels);
        later.start(QStringLiteral(TENVORIA_PROGRAM), arguments);
    }
};

// A running copy that takes the connection but is too busy to answer at once: a later start waits
// for it, says so, and ends once it answers, rather than open a second window on the same record.
TEST(ProgramProcess, ALaterStartWaitsForABusyCopysAnswer)
{
    StandInCopy busy;
    ASSERT_TRUE(busy.listening) << busy.server.errorString().toStdString();
    const QString file = busy.home.filePath(QStringLiteral("b.tenvoria"));
    QProcess later;
    busy.start(later, {file});
    QByteArray said;
    while (!said.contains("busy; waiting") && later.waitForReadyRead(10000))
        said += later.readAll();
    ASSERT_TRUE(said.contains("tenvoria: the copy already running on these settings is busy; waiting for it to answer"))
        << said.toStdString();
    ASSERT_TRUE(busy.server.waitForNewConnection(5000));
    QLocalSocket *request = busy.server.nextPendingConnection();
    while (!request->canReadLine() && request->waitForReadyRead(5000)) {
    }
    EXPECT_EQ(request->readLine(), (file + QLatin1Char('\t')).toUtf8() + '\n');
    request->write("taken\n");
    request->waitForBytesWritten(5000);
    ASSERT_TRUE(later.waitForFinished(10000));
    EXPECT_EQ(later.exitCode(), 0);
    said += later.readAll();
    EXPECT_FALSE(said.contains("store read")) << said.toStdString(); // it never began a window of its own
}

// One that never answers: the later start gives up after its wait, tells the user in a window why
// it ends, and never runs beside it.
TEST(ProgramProcess, ALaterStartGivesUpOnACopyThatNeverAnswersWithoutRunningBesideIt)
{
    StandInCopy hung;
    ASSERT_TRUE(hung.listening) << hung.server.errorString().toStdString();
    QProcess later;
    hung.start(later, {});
    QElapsedTimer waited;
    waited.start();
    QByteArray said;
    while (!said.contains("has not answered") && later.waitForReadyRead(app::SingleInstance::kPatienceMs + 10000))
        said += later.readAll();
    EXPECT_GE(waited.elapsed(), app::SingleInstance::kPatienceMs - 1000);
    EXPECT_TRUE(said.contains("busy; waiting")) << said.toStdString();
    EXPECT_TRUE(said.contains("tenvoria: Tenvoria is already running on these settings, but has not answered"))
        << said.toStdString();
    // The box that tells the user waits; no window of its own was begun.
    EXPECT_FALSE(later.waitForFinished(1000));
    said += later.readAll();
    EXPECT_FALSE(said.contains("store read")) << said.toStdString();
    later.kill();
    later.waitForFinished();
}

// Another user who makes a socket of that name in the shared temporary folder is not taken for a
// running copy: the start tells it nothing, does not wait on it, and runs.
TEST(ProgramProcess, AnotherUsersSocketOfTheSameNameIsNoRunningCopy)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    QTemporaryDir home;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 01777), 0);
    const QString socket = home.filePath(app::SingleInstance::serverName(home.filePath(QStringLiteral("config/Marrowick.conf"))));
    const QString told = home.filePath(QStringLiteral("told"));
    QProcess stranger; // takes connections and keeps what it is told, never answering
    stranger.start(QStringLiteral("setpriv"),
                   {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                    QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                    QStringLiteral("import socket, sys\n"
                                   "s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(5)\n"
                                   "print('ready', flush=True)\n"
                                   "c, _ = s.accept(); open(sys.argv[2], 'wb').write(c.recv(4096)); c.recv(1)\n"),
                    socket, told});
    ASSERT_TRUE(stranger.waitForReadyRead(10000)) << stranger.readAllStandardError().toStdString();
    QProcess later;
    QProcessEnvironment environment = programEnvironment(home.path(), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    environment.insert(QStringLiteral("TENVORIA_STARTUP_TRACE"), QStringLiteral("1"));
    later.setProcessEnvironment(environment);
    later.setProcessChannelMode(QProcess::MergedChannels);
    later.start(QStringLiteral(TENVORIA_PROGRAM), {home.filePath(QStringLiteral("secret name.tenvoria"))});
    QByteArray said;
    while (!said.contains("main window built") && later.waitForReadyRead(10000))
        said += later.readAll();
    EXPECT_TRUE(said.contains("main window built")) << said.toStdString();
    EXPECT_FALSE(said.contains("busy")) << said.toStdString();
    EXPECT_FALSE(testsupport::readTestFile(told).contains("secret name"));
    later.kill();
    later.waitForFinished();
    stranger.kill();
    stranger.waitForFinished();
}

// A store that is a FIFO: the start neither hangs on it nor takes it for a store. It goes on to the
// window, whose first act is the box that says why it starts without the store.
TEST(ProgramProcess, AFifoStoreIsReportedAndTheStartGoesOn)
{
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    const QByteArray fifo = QFile::encodeName(config + QStringLiteral("/Marrowick.conf"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QProcess program;
    QProcessEnvironment environment = programEnvironment(home.path(), config);
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("TENVORIA_STARTUP_TRACE"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(TENVORIA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray said;
    while (!said.contains("main window built") && program.waitForReadyRead(30000))
        said += program.readAll();
    EXPECT_TRUE(said.contains("store read") && said.contains("main window built")) << said.toStdString();
    // The box about the store is modal, in the window's load: the window is not shown behind it.
    EXPECT_FALSE(program.waitForFinished(3000));
    said += program.readAll();
    EXPECT_FALSE(said.contains("main window shown")) << said.toStdString();
    program.kill();
    program.waitForFinished();
    struct stat status {};
    EXPECT_TRUE(::stat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

// The program itself, started as a user starts it: a store it cannot read is reported in a window
// that waits for the user, not in a line on standard error that nobody sees.
TEST(ProgramProcess, MessagesAreWindowsNotLinesOnStandardError)
{
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Marrowick.conf"))); // a folder: "Is a directory"
    QProcess program;
    program.setProcessEnvironment(programEnvironment(home.path(), config));
    program.start(QStringLiteral(TENVORIA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    // The box is modal: the program is still waiting for it when the test looks.
    EXPECT_FALSE(program.waitForFinished(3000));
    program.kill();
    program.waitForFinished();
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_FALSE(errors.contains(QStringLiteral("cannot be read"))) << errors.toStdString();
}

// A user at their limit of processes and threads can still start the program: the warm-ups that
// run beside the main thread are left out, not fatal. Root has no such limit, so the program runs
// as the spare user, from a copy that user can execute.
TEST(ProgramProcess, StartsWhenNoThreadCanBeAdded)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString copy = folder.filePath(QStringLiteral("tenvoria"));
    const QString home = folder.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TENVORIA_PROGRAM), copy) && QDir().mkpath(home));
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(copy).constData(), 0755), 0);
    QStringList command{copy};
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(home).constData(), testsupport::kUnprivilegedId, testsupport::kUnprivilegedId), 0);
        command = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                              QStringLiteral("prlimit"), QStringLiteral("--nproc=1"), copy};
    } else {
        command.prepend(QStringLiteral("--nproc=1"));
    }
    QProcess program;
    QProcessEnvironment environment = programEnvironment(home, home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    environment.insert(QStringLiteral("TENVORIA_STARTUP_TRACE"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels); // the start-up marks are on standard error
    program.start(::geteuid() == 0 ? QStringLiteral("setpriv") : QStringLiteral("prlimit"), command);
    ASSERT_TRUE(program.waitForStarted());
    QByteArray said;
    while (!said.contains("main window shown") && program.waitForReadyRead(30000))
        said += program.readAll();
    EXPECT_TRUE(said.contains("main window shown")) << said.toStdString();
    EXPECT_EQ(program.state(), QProcess::Running) << said.toStdString();
    program.kill();
    program.waitForFinished();
}

// A signal while the preview is shown ends the program by that signal, and the temporary
// document, which holds the record, goes with it. Until then another copy's start-up leaves it.
TEST(ProgramProcess, ATerminatingSignalRemovesTheTemporaryDocument)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        QProcess host;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        host.setProcessEnvironment(environment);
        host.start(QStringLiteral(TENVORIA_SIGNAL_HOST), {folder.path()});
        while (!host.canReadLine() && host.waitForReadyRead(120000)) {
        }
        const QString document = QString::fromLocal8Bit(host.readLine()).trimmed();
        ASSERT_TRUE(QFile::exists(document)) << document.toStdString() << host.readAllStandardError().toStdString();
        EXPECT_EQ(generator::removeAbandonedDocuments(folder.path()), 0);
        EXPECT_TRUE(QFile::exists(document));

        ASSERT_EQ(::kill(static_cast<pid_t>(host.processId()), signal), 0);
        ASSERT_TRUE(host.waitForFinished(120000));
        EXPECT_EQ(host.exitStatus(), QProcess::CrashExit); // ended by the signal itself
        EXPECT_EQ(host.exitCode(), signal);
        EXPECT_FALSE(QFile::exists(document));
        EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.doc"), QStringLiteral("*.bmp")}).isEmpty());
        // The store took every entry, so the end says nothing of entries that could not be saved.
        const QByteArray said = host.readAllStandardError();
        EXPECT_FALSE(said.contains("could not be saved")) << said.toStdString();
    }
}

TEST(EngineSetup, TheProgramRunsOnTheBuiltInEngine)
{
    EXPECT_EQ(app::engineFactory().applicationName(), wordproc::kBuiltinEngineName);
}

} // namespace
