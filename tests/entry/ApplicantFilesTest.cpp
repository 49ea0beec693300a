// Applicant files from the main window: what is saved comes back, entries in no file are not lost
// without a question, and a file that cannot be read changes nothing.
#include "entry/ApplicantFiles.h"
#include "decision/DecisionFile.h"
#include <QComboBox>
#include "ScriptedShellTest.h"
#include "TestFiles.h"
#include "entry/MainWindow.h"
#include "entry/RecordPersistence.h"

#include "RecordingStartupServices.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedPassphrasePrompt.h"
#include "entry/ApplicantsWindow.h"
#include "record/ApplicantFile.h"
#include "base/SafeWrite.h"
#include "record/RecordValues.h"
#include "record/LockedFile.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QTest>
#include "automation/WordAutomation.h"
#include "record/RecordCatalogue.h"
#include "record/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <QFileInfo>

#include <sys/stat.h>

using entry::ApplicantFiles;

namespace {

class NoEngine final : public automation::ApplicationFactory {
public:
    std::shared_ptr<automation::Application> createNew() override { return nullptr; }
    std::shared_ptr<automation::Application> getRunning() override { return nullptr; }
};

class ApplicantFilesTest : public testsupport::ScriptedShellTest {
protected:
    QTemporaryDir dir;
    NoEngine engine;
    std::unique_ptr<record::SettingsStore> store;
    std::unique_ptr<entry::MainWindow> window;
    int ended = 0;
    QStringList dialogAnswers; // what the file dialogs are answered, in turn

    void SetUp() override
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
        store = std::make_unique<record::SettingsStore>(dir.filePath(QStringLiteral("Marrowick.conf")));
        window = std::make_unique<entry::MainWindow>(*store, engine);
        window->setEndProgram([this] { ++ended; });
        files().setAskFileName([this](ApplicantFiles::Dialog, const QString &) {
            return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
        });
        window->show();
    }
    ApplicantFiles &files() { return window->applicantFiles(); }
    QLineEdit *field(const char *id) { return window->record().text(QLatin1String(id)); }
    QRadioButton *option(const char *id) { return window->record().option(QLatin1String(id)); }
    QString path(const char *name) { return dir.filePath(QLatin1String(name)); }
    void type(const char *id, const QString &text)
    {
        field(id)->setText(text);
    }
};

TEST_F(ApplicantFilesTest, SaveNewOpenGivesBackTheSameRecordAndTheTitleNamesTheFile)
{
    EXPECT_EQ(window->windowTitle(), QString()); // set by the load, which this test does not run
    window->setWindowTitle(QStringLiteral("Tenvoria"));
    type("txtAppInfoName", QStringLiteral("Ana Smith \u0905\u0928\u093e \U0001F600"));
    type("txtAppInfoSSN", QStringLiteral("123-45-6789"));
    type("txtName1", QStringLiteral("a=b; \"quoted\" \\ [x]"));
    option("optAppInfoCurrentRent")->setChecked(true);
    const QMap<QString, QString> typed = window->persistence().currentRecord();

    const QString smith = path("smith.tenvoria");
    ASSERT_TRUE(files().saveAs(smith));
    ASSERT_EQ(boxes.shown.size(), 1u); // whether to lock it: not unless the user says so
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Lock smith.tenvoria with a passphrase?")));
    boxes.shown.clear();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tenvoria \u2014 smith.tenvoria"));
    EXPECT_EQ(QFile::permissions(smith), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                             | QFileDevice::WriteUser);
    EXPECT_TRUE(testsupport::readTestFile(smith).startsWith("[Tenvoria]\n"));
    // What the store and tenvoria-render --settings read, the file holds in the same form.
    EXPECT_EQ(record::SettingsStore(smith).read(QStringLiteral("Name1")), QStringLiteral("a=b; \"quoted\" \\ [x]"));
    EXPECT_FALSE(files().hasUnsavedEntries());

    ASSERT_TRUE(files().newApplicant());
    EXPECT_TRUE(boxes.saveQuestions.empty()); // everything was in the file
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tenvoria"));
    EXPECT_EQ(field("txtAppInfoName")->text(), QString());
    EXPECT_TRUE(option("optAppInfoCurrentOwn")->isChecked());
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("App Info Name")), QString());
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("App Info Current House")),
              QStringLiteral("Own"));

    ASSERT_TRUE(files().open(smith));
    EXPECT_EQ(window->persistence().currentRecord(), typed);
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("App Info SSN")),
              QStringLiteral("123-45-6789")); // the store follows, as with typing
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tenvoria \u2014 smith.tenvoria"));
    EXPECT_TRUE(boxes.shown.empty());

    // Open Recent lists the files, newest first, from an owner-only list outside the store.
    type("txtAppInfoName", QStringLiteral("Bo Jones"));
    ASSERT_TRUE(files().saveAs(path("jones.tenvoria")));
    EXPECT_EQ(files().recent().paths(), QStringList({path("jones.tenvoria"), smith}));
    EXPECT_EQ(QFile::permissions(dir.filePath(QStringLiteral("state/tenvoria/recent"))) & 0x0077, 0);
    auto *recentMenu = window->menuBar()->findChild<QMenu *>(QStringLiteral("RecentMenu"));
    ASSERT_NE(recentMenu, nullptr);
    ASSERT_EQ(recentMenu->actions().size(), 2);
    recentMenu->actions().at(1)->trigger();
    EXPECT_EQ(field("txtAppInfoName")->text(), typed.value(QStringLiteral("App Info Name")));
}

// Entries in no applicant file: Cancel keeps everything, Don't Save lets them go, Save writes
// them first (asking where when no file is open). Closing the window asks nothing: the store keeps
// the entries for the next start.
TEST_F(ApplicantFilesTest, OpenAndNewAskBeforeEntriesInNoFileAreReplacedButClosingDoesNot)
{
    const QString other = path("other.tenvoria");
    type("txtAppInfoName", QStringLiteral("Other"));
    ASSERT_TRUE(files().saveAs(other));
    boxes.shown.clear();
    type("txtAppInfoName", QStringLiteral("Typed"));

    boxes.saveAnswers = {runtime::SaveAnswer::Cancel, runtime::SaveAnswer::Cancel};
    EXPECT_FALSE(files().newApplicant());
    EXPECT_FALSE(files().open(other));
    ASSERT_EQ(boxes.saveQuestions.size(), 2u);
    EXPECT_TRUE(boxes.saveQuestions[0].text.contains(QStringLiteral("starting a new applicant")));
    EXPECT_TRUE(boxes.saveQuestions[1].text.contains(QStringLiteral("opening other.tenvoria")));
    EXPECT_EQ(boxes.shown.size(), 2u); // every question a user would see is recorded
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Typed"));
    EXPECT_EQ(testsupport::readTestFile(other), "[Tenvoria]\n" + testsupport::readTestFile(other).mid(11)); // untouched, still a record
    EXPECT_EQ(record::SettingsStore(other).read(QStringLiteral("App Info Name")), QStringLiteral("Other"));

    // Save, with the open file: it takes the entries, then New clears the fields.
    boxes.saveAnswers = {runtime::SaveAnswer::Save};
    ASSERT_TRUE(files().newApplicant());
    EXPECT_EQ(record::SettingsStore(other).read(QStringLiteral("App Info Name")), QStringLiteral("Typed"));
    EXPECT_EQ(field("txtAppInfoName")->text(), QString());

    // Save with no file open asks where; a cancelled dialog cancels the open.
    type("txtCoName", QStringLiteral("Co"));
    boxes.saveAnswers = {runtime::SaveAnswer::Save, runtime::SaveAnswer::Save};
    EXPECT_FALSE(files().open(other));
    EXPECT_EQ(field("txtCoName")->text(), QStringLiteral("Co"));
    dialogAnswers = {path("co.tenvoria")};
    ASSERT_TRUE(files().open(other));
    EXPECT_EQ(record::SettingsStore(path("co.tenvoria")).read(QStringLiteral("Co Name")), QStringLiteral("Co"));

    // Closing with changed entries ends the program at once, with no question.
    type("txtCoName", QStringLiteral("Changed"));
    const auto questionsBefore = boxes.shown.size();
    window->close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(boxes.shown.size(), questionsBefore);
    EXPECT_EQ(boxes.saveQuestions.size(), 5u);
}

TEST_F(ApplicantFilesTest, AFileThatCannotBeReadKeepsTheFieldsAndTheFile)
{
    type("txtAppInfoName", QStringLiteral("Kept"));
    const QMap<QString, QString> before = window->persistence().currentRecord();
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *cause;
    };
    const std::vector<Case> cases = {
        {"foreign.tenvoria", "[Other]\nApp%20Info%20Name=X\n", "no [Tenvoria] section"},
        {"binary.tenvoria", QByteArray("\x89PNG\r\n\x1a\n\0\0[Tenvoria]\n", 20), "not a text file"},
        {"damaged.tenvoria", "[Tenvoria]\nApp%20Info%20Name=\"unclosed\nnot a setting\n", "damaged"},
    };
    for (const Case &c : cases) {
        const QString file = path(c.name);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(c.bytes), c.bytes.size());
        out.close();
        boxes.shown.clear();
        EXPECT_FALSE(files().open(file)) << c.name;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.name;
        EXPECT_TRUE(boxes.shown[0].text.contains(file)) << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(boxes.shown[0].text.contains(QLatin1String(c.cause))) << boxes.shown[0].text.toStdString();
        EXPECT_EQ(window->persistence().currentRecord(), before) << c.name;
        EXPECT_EQ(testsupport::readTestFile(file), c.bytes) << c.name;
    }
    EXPECT_TRUE(boxes.saveQuestions.empty()); // refused before any question
    EXPECT_FALSE(files().open(path("missing.tenvoria")));
    EXPECT_TRUE(boxes.shown.back().text.contains(QStringLiteral("No such file")));
    // A folder is neither opened nor written over.
    EXPECT_FALSE(files().open(dir.path()));
    EXPECT_FALSE(files().saveAs(dir.path()));
    EXPECT_EQ(window->windowTitle(), QString());
    EXPECT_EQ(window->persistence().currentRecord(), before);
}

// The hidden reference rows are not the user's to change: New, Open and Import leave them as they
// are, and a difference there is no unsaved entry. A value of any length comes back as saved.
TEST_F(ApplicantFilesTest, HiddenRowsStayAndValuesOfAnyLengthComeBack)
{
    type("txtName2", QStringLiteral("Hidden ref"));
    type("txtAppInfoName", QStringLiteral("Ana"));
    const QString ana = path("ana.tenvoria");
    ASSERT_TRUE(files().saveAs(ana));
    ASSERT_TRUE(files().newApplicant());
    EXPECT_EQ(field("txtName2")->text(), QStringLiteral("Hidden ref"));
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("Name2")), QStringLiteral("Hidden ref"));

    const QString other = path("other.tenvoria");
    testsupport::writeTestFile(other, "[Tenvoria]\nApp%20Info%20Name=Bo\nName2=From the file\n");
    ASSERT_TRUE(files().open(other));
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Bo"));
    EXPECT_EQ(field("txtName2")->text(), QStringLiteral("Hidden ref"));
    EXPECT_FALSE(files().hasUnsavedEntries());

    // Fields take values of any length, and what Save writes, Open takes back.
    const QString longValue(40000, QLatin1Char('x'));
    type("txtCoName", longValue);
    const QString longOne = path("long.tenvoria");
    boxes.choiceAnswers = {1}; // without a lock
    ASSERT_TRUE(files().saveAs(longOne));
    ASSERT_TRUE(files().newApplicant());
    ASSERT_TRUE(files().open(longOne));
    EXPECT_EQ(field("txtCoName")->text(), longValue);
    // The file's own size limit stays, for Save as for Open.
    QMap<QString, QString> huge = record::blankRecord();
    huge.insert(QStringLiteral("Co Name"), QString(17 * 1024 * 1024, QLatin1Char('y')));
    EXPECT_THROW(record::writeApplicantFile(path("huge.tenvoria"), huge), base::WriteFailure);
    EXPECT_FALSE(QFile::exists(path("huge.tenvoria")));
}

// The recent list shows only paths, whatever the file holds, and a list that is a FIFO costs no
// wait; the store itself is no place for an applicant.
TEST_F(ApplicantFilesTest, ADamagedRecentListShowsNoJunkAndTheStoreIsRefusedAsAnApplicantFile)
{
    const QString list = files().recent().filePath();
    QDir().mkpath(QFileInfo(list).absolutePath());
    testsupport::writeTestFile(list, QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe junk\nrelative/a.tenvoria\n", 38)
                                         + "/home/ana/a.tenvoria\n");
    EXPECT_EQ(files().recent().paths(), QStringList{QStringLiteral("/home/ana/a.tenvoria")});
    ASSERT_TRUE(QFile::remove(list));
    ASSERT_EQ(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    EXPECT_TRUE(entry::RecentFiles(list).paths().isEmpty());

    type("txtAppInfoName", QStringLiteral("Ana"));
    const QByteArray storeBefore = testsupport::readTestFile(store->filePath());
    const QString link = path("store link.tenvoria");
    ASSERT_TRUE(QFile::link(store->filePath(), link));
    for (const QString &target : {store->filePath(), link}) {
        boxes.shown.clear();
        EXPECT_FALSE(files().saveAs(target));
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("it is the settings file"))) << boxes.shown[0].text.toStdString();
    }
    EXPECT_EQ(testsupport::readTestFile(store->filePath()), storeBefore);
    EXPECT_TRUE(files().hasUnsavedEntries());
}

// A locked applicant opens only with its passphrase, asked again after a wrong one; saving the
// open file again keeps the lock without asking; Lock and Close leaves no file the program keeps
// with the applicant's SSN, date of birth or name in plain text.
TEST_F(ApplicantFilesTest, ALockedApplicantOpensOnlyWithItsPassphraseAndLockAndCloseLeavesNoPlainText)
{
    // The program's temporary folder is this test's own, so that the scan below reads every file
    // the program may have written there and nothing else.
    const QByteArray temporaryBefore = qgetenv("TMPDIR");
    const QString temporary = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    qputenv("TMPDIR", QFile::encodeName(temporary));
    const auto restoreTemporary = qScopeGuard([&] { qputenv("TMPDIR", temporaryBefore); });
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    files().setLockCost(record::LockCost{1, 64 * 1024});
    const QString ssn = QStringLiteral("471-93-5826"), birth = QStringLiteral("29 Feb 1984"),
                  name = QStringLiteral("Zanele Okonkwo-V\u00e1squez");
    type("txtAppInfoName", name);
    type("txtAppInfoSSN", ssn);
    type("txtAppInfoDateOfBirth", birth);
    const QString file = path("applicant.tenvoria");
    boxes.choiceAnswers = {0};
    prompt.newAnswers = {QStringLiteral("correct horse")};
    ASSERT_TRUE(files().saveAs(file));
    const QByteArray bytes = testsupport::readTestFile(file);
    EXPECT_TRUE(record::isLockedFile(bytes));
    EXPECT_FALSE(bytes.contains(ssn.toUtf8()));
    EXPECT_TRUE(files().isLocked());

    ASSERT_TRUE(files().newApplicant());
    EXPECT_FALSE(files().isLocked()); // the passphrase went with the file
    prompt.openAnswers = {std::nullopt};
    EXPECT_FALSE(files().open(file)); // cancelled: nothing changes
    EXPECT_EQ(field("txtAppInfoName")->text(), QString());
    prompt.openAnswers = {QStringLiteral("correct hose"), QStringLiteral("correct horse")};
    prompt.openQuestions.clear();
    ASSERT_TRUE(files().open(file));
    ASSERT_EQ(prompt.openQuestions.size(), 2u);
    EXPECT_FALSE(prompt.openQuestions[0].again);
    EXPECT_TRUE(prompt.openQuestions[1].again);
    EXPECT_EQ(field("txtAppInfoSSN")->text(), ssn);

    // Saving the open file again: no question, still locked, with the same passphrase.
    type("txtAppInfoPhone", QStringLiteral("555-0142"));
    boxes.shown.clear();
    ASSERT_TRUE(files().saveAs(file));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(prompt.newQuestions.size(), 1u);
    const record::Passphrase passphrase(QStringLiteral("correct horse"));
    EXPECT_EQ(record::readApplicantFile(file, &passphrase).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0142"));

    // The fillable PDF with the values is no locked file: the user is told, No exports nothing.
    int exported = 0;
    files().setPdfForms([&](const record::RecordValues *, record::FormLanguage, const QString &) { ++exported; }, {});
    boxes.answers = {runtime::BoxAnswer::No};
    EXPECT_FALSE(files().exportFillablePdf(path("form.pdf"), true));
    EXPECT_EQ(exported, 0);
    EXPECT_TRUE(boxes.shown.back().text.contains(QStringLiteral("the PDF will not be")));

    // Ctrl+W from a field, where a line edit would take the key for itself.
    QApplication::setActiveWindow(window.get());
    field("txtAppInfoPhone")->setFocus();
    QTest::keyClick(field("txtAppInfoPhone"), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(field("txtAppInfoPhone")->text(), QString()) << "Lock and Close did not run";
    EXPECT_FALSE(files().isLocked());
    EXPECT_EQ(field("txtAppInfoName")->text(), QString());
    EXPECT_EQ(record::readApplicantFile(file, &passphrase).value(QStringLiteral("App Info SSN")), ssn);
    ASSERT_EQ(QDir::tempPath(), QDir(temporary).absolutePath());
    { // the home's folders (store, recent list, the Applicants window's settings) and the temporary folder within it
        for (QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();) {
            const QString found = it.next();
            QFile in(found);
            if (QFileInfo(found).size() > 64 * 1024 * 1024 || !QFileInfo(found).isFile() || !in.open(QIODevice::ReadOnly))
                continue;
            const QByteArray content = in.readAll();
            for (const QString &secret : {ssn, birth, name})
                EXPECT_FALSE(content.contains(secret.toUtf8())) << found.toStdString() << " holds " << secret.toStdString();
        }
    }
}

// Locking and opening a locked file: damage the header shows is told before any passphrase is asked;
// entries in no file are settled before it; the lock and the unlock leave the window's events
// running, and the unlock can be cancelled.
TEST_F(ApplicantFilesTest, ALockedFileIsCheckedAndTheEntriesSettledBeforeThePassphraseAndTheUnlockCanBeCancelled)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    const QString file = path("kept.tenvoria");
    // Locked at the program's own cost, which takes long enough to see the window's events go on.
    files().setLockCost(record::LockCost{});
    type("txtAppInfoName", QStringLiteral("Kept"));
    boxes.choiceAnswers = {0};
    prompt.newAnswers = {QStringLiteral("pass")};
    bool lockTicked = false;
    QTimer::singleShot(0, [&] { lockTicked = true; });
    ASSERT_TRUE(files().saveAs(file));
    EXPECT_TRUE(lockTicked);
    ASSERT_TRUE(files().newApplicant());

    QByteArray flipped = testsupport::readTestFile(file);
    flipped[9] = char(flipped[9] ^ 0x01);
    const QString damaged = path("damaged.tenvoria");
    testsupport::writeTestFile(damaged, flipped);
    EXPECT_FALSE(files().open(damaged));
    EXPECT_TRUE(prompt.openQuestions.empty());
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_TRUE(boxes.shown.back().text.contains(QStringLiteral("its header was changed since it was locked")))
        << boxes.shown.back().text.toStdString();

    type("txtAppInfoName", QStringLiteral("Typed"));
    prompt.openAnswers = {std::nullopt};
    EXPECT_FALSE(files().open(file));
    ASSERT_EQ(boxes.saveQuestions.size(), 1u); // asked although the passphrase was then cancelled
    EXPECT_TRUE(boxes.saveQuestions[0].text.contains(QStringLiteral("Save them before opening kept.tenvoria?")));
    ASSERT_TRUE(files().newApplicant());

    // Cancelled while the key is worked out: the window is as it was, at once.
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto *working = window->findChild<QProgressDialog *>(QStringLiteral("Working")); working && working->isVisible())
            working->findChild<QPushButton *>()->click(); // Cancel
    });
    canceller.start(10);
    prompt.openAnswers = {QStringLiteral("pass")};
    EXPECT_FALSE(files().open(file));
    EXPECT_EQ(field("txtAppInfoName")->text(), QString());
    canceller.stop();

    // Unlocked, the window's events went on meanwhile; a file handed over then waits for the unlock.
    const QString handed = path("handed.tenvoria");
    testsupport::writeTestFile(handed, "[Tenvoria]\nApp%20Info%20Name=Handed\n");
    bool ticked = false;
    QTimer::singleShot(0, [&] {
        ticked = true;
        EXPECT_FALSE(files().open(handed));
        EXPECT_EQ(field("txtAppInfoName")->text(), QString());
    });
    prompt.openAnswers = {QStringLiteral("pass")};
    ASSERT_TRUE(files().open(file));
    EXPECT_TRUE(ticked);
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Kept"));
    for (int waits = 0; waits < 50 && field("txtAppInfoName")->text() != QStringLiteral("Handed"); ++waits)
        QTest::qWait(100);
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Handed"));
    EXPECT_FALSE(files().isLocked());
}

// A locked row of the Applicants window, double-clicked: the entries in no file are settled first,
// then the passphrase is asked.
TEST_F(ApplicantFilesTest, ALockedRowOfTheApplicantsWindowAsksAboutTheEntriesBeforeThePassphrase)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    const QString folder = path("folder");
    ASSERT_TRUE(QDir().mkpath(folder));
    QMap<QString, QString> values = record::blankRecord();
    values.insert(QStringLiteral("App Info Name"), QStringLiteral("Rowan"));
    const record::Passphrase pass(QStringLiteral("pass"));
    record::writeApplicantFile(folder + QStringLiteral("/rowan.tenvoria"), values, &pass, record::LockCost{1, 64 * 1024});
    type("txtAppInfoName", QStringLiteral("Unsaved"));
    files().showApplicants(folder);
    auto *table = files().applicantsWindow()->findChild<QTableView *>();
    ASSERT_NE(table, nullptr);
    for (int waits = 0; waits < 100 && table->model()->rowCount() < 1; ++waits)
        QTest::qWait(100);
    ASSERT_EQ(table->model()->rowCount(), 1);
    prompt.openAnswers = {std::nullopt};
    boxes.saveAnswers = {runtime::SaveAnswer::Discard};
    emit table->activated(table->model()->index(0, 0));
    ASSERT_EQ(boxes.saveQuestions.size(), 1u); // asked although the passphrase was then cancelled
    EXPECT_TRUE(boxes.saveQuestions[0].text.contains(QStringLiteral("Save them before opening rowan.tenvoria?")));
    EXPECT_EQ(prompt.openQuestions.size(), 1u);
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Unsaved"));
    prompt.openAnswers = {QStringLiteral("pass")};
    boxes.saveAnswers = {runtime::SaveAnswer::Discard};
    emit table->activated(table->model()->index(0, 0));
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Rowan"));
}

// While a locked applicant is open, the store holds a note and none of its entries, the journal
// holds them locked; a new window on the store gives them back after the passphrase, and Lock and
// Close leaves neither note nor journal.
TEST_F(ApplicantFilesTest, ALockedApplicantIsKeptInTheJournalNotTheStore)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    files().setLockCost(record::LockCost{1, 64 * 1024});
    type("txtAppInfoName", QStringLiteral("Plain Before"));
    const QString file = path("locked.tenvoria");
    QMap<QString, QString> values = record::blankRecord();
    values.insert(QStringLiteral("App Info SSN"), QStringLiteral("603-11-4782"));
    const record::Passphrase pass(QStringLiteral("pass"));
    record::writeApplicantFile(file, values, &pass, record::LockCost{1, 64 * 1024});
    prompt.openAnswers = {QStringLiteral("pass")};
    ASSERT_TRUE(files().open(file));
    type("txtAppInfoPhone", QStringLiteral("555-0199"));
    const QByteArray stored = testsupport::readTestFile(store->filePath());
    for (const char *secret : {"603-11-4782", "555-0199", "Plain Before"})
        EXPECT_FALSE(stored.contains(secret)) << secret;
    EXPECT_TRUE(stored.contains("LockedApplicant=")) << stored.toStdString();
    const QString journal = window->persistence().journalPath();
    EXPECT_FALSE(testsupport::readTestFile(journal).contains("555-0199"));
    EXPECT_EQ(record::readApplicantFile(journal, &pass).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0199"));

    {
        record::SettingsStore again(store->filePath());
        entry::MainWindow next(again, engine);
        testsupport::ScriptedPassphrasePrompt nextPrompt;
        next.applicantFiles().setPassphrasePrompt(&nextPrompt);
        nextPrompt.openAnswers = {std::nullopt};
        EXPECT_FALSE(next.applicantFiles().resumeLockedApplicant()); // cancelled: kept for later
        EXPECT_TRUE(QFile::exists(journal));
        nextPrompt.openAnswers = {QStringLiteral("wrong"), QStringLiteral("pass")};
        ASSERT_TRUE(next.applicantFiles().resumeLockedApplicant());
        ASSERT_EQ(nextPrompt.restoreQuestions.size(), 3u); // asked as the last run's entries, by the file's name
        EXPECT_EQ(nextPrompt.restoreQuestions[0].fileName, file);
        EXPECT_TRUE(nextPrompt.restoreQuestions[2].again);
        EXPECT_EQ(next.record().text(QStringLiteral("txtAppInfoPhone"))->text(), QStringLiteral("555-0199"));
        EXPECT_EQ(next.applicantFiles().openFile(), file);
        EXPECT_TRUE(next.applicantFiles().hasUnsavedEntries());
    }

    ASSERT_TRUE(files().lockAndClose());
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("LockedApplicant")), QString());
    EXPECT_EQ(record::readApplicantFile(file, &pass).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0199"));
}

// A journal that cannot be written is told by its own name, once; the entries stay in the window and
// go to the journal as soon as it can be written, never to the store.
TEST_F(ApplicantFilesTest, AJournalThatCannotBeWrittenIsToldAndCaughtUpWith)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    const QString file = path("locked.tenvoria");
    const record::Passphrase pass(QStringLiteral("pass"));
    record::writeApplicantFile(file, record::blankRecord(), &pass, record::LockCost{1, 64 * 1024});
    const QString journal = window->persistence().journalPath();
    ASSERT_TRUE(QDir().mkpath(journal)); // a folder in its place: no file can be written there
    prompt.openAnswers = {QStringLiteral("pass")};
    boxes.shown.clear();
    ASSERT_TRUE(files().open(file));
    type("txtAppInfoSSN", QStringLiteral("432-10-9876"));
    ASSERT_EQ(boxes.shown.size(), 1u); // once, at the first write that failed
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Your entries could not be saved to %1.").arg(journal)))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(testsupport::readTestFile(store->filePath()).contains("432-10-9876"));
    ASSERT_TRUE(QDir(journal).removeRecursively());
    type("txtAppInfoPhone", QStringLiteral("555-0123"));
    EXPECT_EQ(record::readApplicantFile(journal, &pass).value(QStringLiteral("App Info SSN")), QStringLiteral("432-10-9876"));
    EXPECT_FALSE(testsupport::readTestFile(store->filePath()).contains("432-10-9876"));
}

// Lock and Close names the store's dated backups, which may hold an SSN, and destroys them when told.
TEST_F(ApplicantFilesTest, LockAndCloseOffersToDestroyTheStoresBackups)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    files().setLockCost(record::LockCost{1, 64 * 1024});
    // Edited by hand: the first write keeps a dated copy, SSN and all.
    testsupport::writeTestFile(store->filePath(), "[Tenvoria]\n; my notes\nApp%20Info%20SSN=239-55-1806\n");
    type("txtAppInfoName", QStringLiteral("Noted"));
    const QStringList backups = store->backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(testsupport::readTestFile(backups[0]).contains("239-55-1806"));

    dialogAnswers = {path("noted.tenvoria")};
    prompt.newAnswers = {QStringLiteral("pass")};
    boxes.answers = {runtime::BoxAnswer::Yes};
    boxes.shown.clear();
    ASSERT_TRUE(files().lockAndClose());
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_TRUE(boxes.shown.back().text.contains(backups[0])) << boxes.shown.back().text.toStdString();
    EXPECT_EQ(boxes.shown.back().defaultAnswer, runtime::BoxAnswer::No);
    EXPECT_FALSE(QFile::exists(backups[0]));
    EXPECT_TRUE(store->backups().isEmpty());
}

// Change Passphrase locks the file anew; Remove Lock, once confirmed, saves it plain.
TEST_F(ApplicantFilesTest, ThePassphraseCanBeChangedAndTheLockRemoved)
{
    testsupport::ScriptedPassphrasePrompt prompt;
    files().setPassphrasePrompt(&prompt);
    files().setLockCost(record::LockCost{1, 64 * 1024});
    type("txtCoName", QStringLiteral("Marla"));
    const QString file = path("marla.tenvoria");
    EXPECT_FALSE(files().changePassphrase()); // nothing locked is open
    prompt.newAnswers = {QStringLiteral("one"), QStringLiteral("two")};
    dialogAnswers = {file};
    ASSERT_TRUE(files().lockAndClose()); // no file open: asked where and, without a choice, for a passphrase
    EXPECT_EQ(field("txtCoName")->text(), QString());
    prompt.openAnswers = {QStringLiteral("one")};
    ASSERT_TRUE(files().open(file));
    boxes.shown.clear();
    ASSERT_TRUE(files().changePassphrase());
    ASSERT_EQ(prompt.changeQuestions.size(), 1u); // its own question, not the one that locks a file
    EXPECT_EQ(prompt.newQuestions.size(), 1u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("was changed")));
    const record::Passphrase two(QStringLiteral("two"));
    EXPECT_EQ(record::readApplicantFile(file, &two).value(QStringLiteral("Co Name")), QStringLiteral("Marla"));
    EXPECT_THROW(record::readApplicantFile(file, &*std::make_unique<record::Passphrase>(QStringLiteral("one"))),
                 record::UnlockFailure);
    // The journal of the open applicant follows: the old passphrase opens it no more.
    const QString journal = window->persistence().journalPath();
    EXPECT_EQ(record::readApplicantFile(journal, &two).value(QStringLiteral("Co Name")), QStringLiteral("Marla"));
    EXPECT_THROW(record::readApplicantFile(journal, &*std::make_unique<record::Passphrase>(QStringLiteral("one"))),
                 record::UnlockFailure);

    boxes.answers = {runtime::BoxAnswer::No, runtime::BoxAnswer::Yes};
    EXPECT_FALSE(files().removeLock());
    EXPECT_TRUE(record::isLockedApplicantFile(file));
    ASSERT_TRUE(files().removeLock());
    EXPECT_TRUE(testsupport::readTestFile(file).startsWith("[Tenvoria]\n"));
    EXPECT_FALSE(files().isLocked());
    // A plain file's entries are kept as plain ones are: in the store, and no journal.
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(record::SettingsStore(store->filePath()).read(QStringLiteral("Co Name")), QStringLiteral("Marla"));
}

} // namespace

namespace {

// A file changed on disk since it was opened is never overwritten unseen: the save asks Reload,
// Save As or Replace. A decision written meanwhile from the Applicants window (its own section of
// the file) survives Replace; another writer's entries survive Cancel and come into the window
// with Reload.
TEST_F(ApplicantFilesTest, ASaveOverAFileChangedOnDiskAsksAndLosesNothing)
{
    const QString file = path("garcia.tenvoria");
    type("txtAppInfoName", QStringLiteral("Ana Garcia"));
    ASSERT_TRUE(files().saveAs(file));
    boxes.shown.clear();
    ASSERT_TRUE(files().saveAs(file)); // unchanged on disk: only the lock is asked about
    EXPECT_EQ(boxes.shown.size(), 1u);

    decision::Decision denied;
    denied.status = decision::Status::Denied;
    denied.date = QDate::currentDate();
    denied.reasons.rentalHistory = true;
    decision::writeDecision(file, denied);
    type("txtAppInfoPhone", QStringLiteral("555-0100"));
    boxes.shown.clear();
    boxes.choiceAnswers = {1, 2}; // without a lock; Replace
    ASSERT_TRUE(files().saveAs(file));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("was changed on disk"))) << boxes.shown[1].text.toStdString();
    EXPECT_EQ(record::readApplicantFile(file).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0100"));
    EXPECT_EQ(decision::readDecision(file).status, decision::Status::Denied);

    // Someone else's entries: Cancel writes nothing, Reload shows theirs.
    QMap<QString, QString> theirs = record::readApplicantFile(file);
    theirs.insert(QStringLiteral("App Info Name"), QStringLiteral("Ana Garcia Ruiz"));
    record::writeApplicantFile(file, theirs);
    type("txtAppInfoPhone", QStringLiteral("555-0199"));
    boxes.shown.clear();
    boxes.choiceAnswers = {1, -1}; // without a lock; Escape
    EXPECT_FALSE(files().saveAs(file));
    EXPECT_EQ(record::readApplicantFile(file).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0100"));
    boxes.choiceAnswers = {1, 0}; // without a lock; Reload
    EXPECT_FALSE(files().saveAs(file));
    EXPECT_EQ(field("txtAppInfoName")->text(), QStringLiteral("Ana Garcia Ruiz"));
    EXPECT_FALSE(files().hasUnsavedEntries());
    boxes.shown.clear();
    ASSERT_TRUE(files().saveAs(file)); // read again: only the lock is asked about
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// A decision made from the File menu while the applicant is open goes into the file's own section;
// the entries typed meanwhile stay in the window and are saved after it, without a question about a
// change on disk that was the program's own, and nothing of either is lost.
TEST_F(ApplicantFilesTest, ADecisionMadeWhileTheApplicantIsOpenLosesNothing)
{
    const QString file = path("ruiz.tenvoria");
    type("txtAppInfoName", QStringLiteral("Lucia Ruiz"));
    ASSERT_TRUE(files().saveAs(file));
    type("txtAppInfoPhone", QStringLiteral("555-0142")); // not saved yet
    files().showApplicants(dir.path());
    ASSERT_NE(files().applicantsWindow(), nullptr);
    files().applicantsWindow()->setRunDialog([](QDialog &dialog) {
        auto *status = dialog.findChild<QComboBox *>(QStringLiteral("Status"));
        status->setCurrentIndex(status->findData(int(decision::Status::Withdrawn)));
        dialog.findChild<QPushButton *>(QStringLiteral("Save"))->click();
        return dialog.result();
    });
    ASSERT_TRUE(files().decideOpenApplicant());
    EXPECT_EQ(decision::readDecision(file).status, decision::Status::Withdrawn);
    EXPECT_EQ(field("txtAppInfoPhone")->text(), QStringLiteral("555-0142"));

    boxes.shown.clear();
    ASSERT_TRUE(files().saveAs(file));
    EXPECT_EQ(boxes.shown.size(), 1u) << "only the lock is asked about";
    EXPECT_EQ(record::readApplicantFile(file).value(QStringLiteral("App Info Phone")), QStringLiteral("555-0142"));
    EXPECT_EQ(decision::readDecision(file).status, decision::Status::Withdrawn);
}

} // namespace
