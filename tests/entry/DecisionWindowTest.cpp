// The Applicants window's decision dialogs, driven as a user drives them: a decision written into
// the file and shown in the table and the exports, bad input refused with nothing changed, a locked
// file's passphrase asked, the folder's particulars kept only when complete, a letter saved or
// refused by name, and the expired files disposed of and nothing else.
#include "entry/ApplicantsWindow.h"
#include "entry/DecisionDialog.h"

#include "ScriptedMessageBoxes.h"
#include "ScriptedPassphrasePrompt.h"
#include "TestFiles.h"
#include "Unprivileged.h"
#include "decision/DecisionFile.h"
#include "decision/Disposal.h"
#include "decision/Letters.h"
#include "record/ApplicantFile.h"
#include "record/RecentFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using compare::Column;
using decision::Status;

template <class T>
T *child(QDialog &dialog, const QString &name)
{
    T *found = dialog.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

void click(QDialog &dialog, const char *button) { child<QPushButton>(dialog, QLatin1String(button))->click(); }

void choose(QDialog &dialog, Status status)
{
    auto *box = child<QComboBox>(dialog, QStringLiteral("Status"));
    box->setCurrentIndex(box->findData(int(status)));
}

void type(QDialog &dialog, const char *field, const QString &text)
{
    child<QLineEdit>(dialog, QLatin1String(field))->setText(text);
}

void tick(QDialog &dialog, const char *box) { child<QCheckBox>(dialog, QLatin1String(box))->setChecked(true); }

class DecisionWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes boxScope{boxes};
    QByteArray stateHome;

    QString folder() const { return dir.filePath(QStringLiteral("vacancy")); }
    QString file(const char *name) const { return folder() + QLatin1Char('/') + QLatin1String(name); }
    QString settingsPath() const { return dir.filePath(QStringLiteral("state/applicants")); }

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder()));
        // The disposal takes files off the recent list: this run's, never the user's.
        stateHome = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
    }
    void TearDown() override
    {
        if (stateHome.isEmpty())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", stateHome);
    }
    QMap<QString, QString> applicant(const char *name, const char *who, const char *income,
                                     const record::Passphrase *lock = nullptr)
    {
        const QMap<QString, QString> record{{QStringLiteral("App Info Name"), QString::fromUtf8(who)},
                                            {QStringLiteral("App Info SSN"), QStringLiteral("078-05-1120")},
                                            {QStringLiteral("App Info Emp Info Annual Income"), QString::fromUtf8(income)},
                                            {QStringLiteral("App Info Current Address"), QStringLiteral("10 Elm Street")},
                                            {QStringLiteral("App Info Current City"), QStringLiteral("Holderness")},
                                            {QStringLiteral("App Info Current State"), QStringLiteral("NH")},
                                            {QStringLiteral("App Info Current Zip Code"), QStringLiteral("03245")}};
        record::writeApplicantFile(file(name), record, lock, record::LockCost{1, 8 << 20});
        return record;
    }
    void decided(const char *name, Status status, const QDate &date, bool reportUsed = false)
    {
        decision::Decision d;
        d.status = status;
        d.date = date;
        d.reasons.incomeBelowMinimum = status == Status::Denied;
        d.reportUsed = reportUsed;
        d.agency = reportUsed ? QStringLiteral("Verity Screening") : QString();
        decision::writeDecision(file(name), d);
    }
    std::unique_ptr<entry::ApplicantsWindow> window()
    {
        auto w = std::make_unique<entry::ApplicantsWindow>([](const QString &) {}, compare::ComparisonSettings(settingsPath()));
        w->showFolder(folder());
        EXPECT_TRUE(listed(*w));
        return w;
    }
    static bool listed(entry::ApplicantsWindow &w)
    {
        QElapsedTimer timer;
        timer.start();
        while ((w.isListing() || w.table()->model()->rowCount() == 0) && timer.elapsed() < 5000)
            QTest::qWait(20);
        return !w.isListing();
    }
    static bool relisted(entry::ApplicantsWindow &w)
    {
        QSignalSpy spy(&w, &entry::ApplicantsWindow::listed);
        return spy.wait(5000) || !spy.isEmpty();
    }
    static QString cell(entry::ApplicantsWindow &w, const QString &who, Column column)
    {
        QAbstractItemModel *model = w.table()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, int(Column::Name)).data().toString() == who)
                return model->index(r, int(column)).data().toString();
        return QStringLiteral("(no row)");
    }
};

TEST_F(DecisionWindowTest, ADecisionIsWrittenWithTheCriteriaAndShownSortedFilteredAndExported)
{
    applicant("ana.tenvoria", "Ana", "72,000");
    applicant("bo.tenvoria", "Bo", "39,000");
    const QMap<QString, QString> bo = record::readApplicantFile(file("bo.tenvoria"));
    applicant("cy.tenvoria", "Cy", "50,000");
    QFile damaged(file("cy.tenvoria"));
    ASSERT_TRUE(damaged.open(QIODevice::Append));
    damaged.write("\n[Decision]\nStatus=Maybe\n");
    damaged.close();
    auto w = window();
    EXPECT_EQ(cell(*w, QStringLiteral("Cy"), Column::Status), QStringLiteral("Unreadable")); // never shown as pending
    w->rentField()->setText(QStringLiteral("1,500"));
    w->setRunDialog([](QDialog &dialog) {
        choose(dialog, Status::Denied);
        type(dialog, "Date", QStringLiteral("2024-01-31"));
        tick(dialog, "Income below the minimum");
        click(dialog, "Save");
        return dialog.result();
    });
    w->decide(file("bo.tenvoria"));

    const decision::Decision kept = decision::readDecision(file("bo.tenvoria"));
    EXPECT_EQ(kept.status, Status::Denied);
    EXPECT_EQ(kept.date, QDate(2024, 1, 31));
    EXPECT_TRUE(kept.reasons.incomeBelowMinimum);
    EXPECT_EQ(kept.criteria.monthlyRent, 1500); // the folder's rent of the moment, typed but not yet saved
    ASSERT_TRUE(kept.criteria.multiple);
    EXPECT_NEAR(*kept.criteria.multiple, 39000.0 / 18000, 1e-9);
    EXPECT_EQ(record::readApplicantFile(file("bo.tenvoria")), bo); // the record's keys untouched

    ASSERT_TRUE(relisted(*w));
    EXPECT_EQ(cell(*w, QStringLiteral("Bo"), Column::Status), QStringLiteral("Denied"));
    EXPECT_EQ(cell(*w, QStringLiteral("Bo"), Column::Decided), QStringLiteral("2024-01-31"));
    EXPECT_EQ(cell(*w, QStringLiteral("Bo"), Column::KeepUntil), QStringLiteral("2026-02-28")); // 25 months, month's end
    EXPECT_EQ(cell(*w, QStringLiteral("Ana"), Column::Status), QStringLiteral("Pending"));
    EXPECT_EQ(cell(*w, QStringLiteral("Ana"), Column::KeepUntil), QString());

    w->table()->sortByColumn(int(Column::KeepUntil), Qt::DescendingOrder);
    EXPECT_EQ(w->table()->model()->index(0, int(Column::Name)).data().toString(), QStringLiteral("Bo"));
    w->filterField()->setText(QStringLiteral("denied"));
    EXPECT_EQ(w->table()->model()->rowCount(), 1);
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(w->exportCsv(csv));
    const QByteArray exported = testsupport::readTestFile(csv);
    EXPECT_TRUE(exported.contains("Status,Decided,Keep until")) << exported.constData();
    EXPECT_TRUE(exported.contains("Denied,2024-01-31,2026-02-28")) << exported.constData();
}

TEST_F(DecisionWindowTest, BadInputIsSaidInTheDialogAndChangesNothing)
{
    applicant("bo.tenvoria", "Bo", "39,000");
    const QByteArray before = testsupport::readTestFile(file("bo.tenvoria"));
    const struct {
        Status status;
        QString date;
        bool depositWithoutAmount;
        QString said;
    } cases[] = {
        {Status::Denied, QStringLiteral("2024-02-30"), false, QStringLiteral("\"2024-02-30\" is not a date")},
        {Status::Denied, decision::dateText(QDate::currentDate().addDays(1)), false, QStringLiteral("in the future")},
        {Status::ApprovedWithConditions, QStringLiteral("2024-02-01"), true, QStringLiteral("deposit needs its amount")},
    };
    auto w = window();
    for (const auto &c : cases) {
        QString shown;
        w->setRunDialog([&](QDialog &dialog) {
            choose(dialog, c.status);
            type(dialog, "Date", c.date);
            if (c.depositWithoutAmount)
                tick(dialog, "Larger deposit");
            click(dialog, "Save");
            EXPECT_TRUE(dialog.isVisible() || dialog.result() != QDialog::Accepted) << "closed on a refusal";
            shown = child<QLabel>(dialog, QStringLiteral("Problem"))->text();
            dialog.reject();
            return dialog.result();
        });
        w->decide(file("bo.tenvoria"));
        EXPECT_TRUE(shown.contains(c.said)) << shown.toStdString();
        EXPECT_EQ(testsupport::readTestFile(file("bo.tenvoria")), before) << c.said.toStdString();
    }
}

TEST_F(DecisionWindowTest, AFolderThatCannotBeWrittenKeepsTheDialogOpenWithWhy)
{
    if (testsupport::rerunUnprivileged())
        return;
    applicant("bo.tenvoria", "Bo", "39,000");
    const QByteArray before = testsupport::readTestFile(file("bo.tenvoria"));
    auto w = window();
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
    QString shown;
    bool stayed = false;
    w->setRunDialog([&](QDialog &dialog) {
        choose(dialog, Status::Withdrawn);
        type(dialog, "Date", QStringLiteral("2025-01-02"));
        click(dialog, "Save");
        stayed = dialog.result() != QDialog::Accepted;
        shown = child<QLabel>(dialog, QStringLiteral("Problem"))->text();
        return int(QDialog::Rejected);
    });
    w->decide(file("bo.tenvoria"));
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("The decision was not saved:"))) << shown.toStdString();
    EXPECT_EQ(testsupport::readTestFile(file("bo.tenvoria")), before);
}

TEST_F(DecisionWindowTest, ALockedFileAsksItsPassphraseAndKeepsTheDecisionLocked)
{
    const record::Passphrase passphrase(QStringLiteral("right horse"));
    applicant("cy.tenvoria", "Cy", "48,000", &passphrase);
    auto w = window();
    EXPECT_EQ(w->table()->model()->index(0, int(Column::File)).data().toString(), QStringLiteral("cy.tenvoria"));
    EXPECT_EQ(w->table()->model()->index(0, int(Column::Status)).data().toString(), QString()); // locked with the file
    auto prompt = std::make_unique<testsupport::ScriptedPassphrasePrompt>();
    testsupport::ScriptedPassphrasePrompt *asked = prompt.get();
    prompt->openAnswers = {QStringLiteral("wrong"), QStringLiteral("right horse")};
    w->setPassphrasePrompt(std::move(prompt));
    int dialogs = 0;
    w->setRunDialog([&](QDialog &dialog) {
        ++dialogs;
        choose(dialog, Status::Withdrawn);
        type(dialog, "Date", QStringLiteral("2025-03-01"));
        click(dialog, "Save");
        return dialog.result();
    });
    w->decide(file("cy.tenvoria"));
    ASSERT_EQ(asked->openQuestions.size(), 2u);
    EXPECT_TRUE(asked->openQuestions[1].again);
    EXPECT_TRUE(record::isLockedApplicantFile(file("cy.tenvoria")));
    EXPECT_EQ(decision::readDecision(file("cy.tenvoria"), &passphrase).status, Status::Withdrawn);

    w->decide(file("cy.tenvoria")); // the passphrase not given: no dialog, nothing asked of the file
    w->writeLetters(file("cy.tenvoria"));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(asked->openQuestions.size(), 4u);
}

TEST_F(DecisionWindowTest, TheFoldersParticularsAreKeptOnlyWhenComplete)
{
    applicant("bo.tenvoria", "Bo", "39,000");
    decided("bo.tenvoria", Status::Denied, QDate(2024, 1, 31));
    auto w = window();
    QString refused;
    w->setRunDialog([&](QDialog &dialog) {
        type(dialog, "Unit address", QStringLiteral("12 Birch Lane"));
        auto *table = child<QTableWidget>(dialog, QStringLiteral("Agencies"));
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("&Add Agency"))
                button->click();
        table->item(0, 0)->setText(QStringLiteral("Verity Screening"));
        table->item(0, 2)->setText(QStringLiteral("1-800-555-0100"));
        type(dialog, "Denied months", QStringLiteral("twelve"));
        click(dialog, "Save"); // no address, no number of months
        refused = child<QLabel>(dialog, QStringLiteral("Problem"))->text();
        EXPECT_TRUE(decision::vacancyOf(compare::ComparisonSettings(settingsPath()), folder()).agencies.isEmpty());
        table->item(0, 1)->setText(QStringLiteral("PO Box 1000, Chester, PA 19016"));
        type(dialog, "Denied months", QStringLiteral("12"));
        click(dialog, "Save");
        return dialog.result();
    });
    w->editVacancy();
    EXPECT_TRUE(refused.contains(QStringLiteral("Verity Screening needs its address"))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("\"twelve\", is not a number of months"))) << refused.toStdString();
    const compare::ComparisonSettings kept(settingsPath());
    const decision::Vacancy vacancy = decision::vacancyOf(kept, folder());
    ASSERT_EQ(vacancy.agencies.size(), 1);
    EXPECT_EQ(vacancy.agencies[0].address, QStringLiteral("PO Box 1000, Chester, PA 19016"));
    EXPECT_EQ(vacancy.unitAddress, QStringLiteral("12 Birch Lane"));
    ASSERT_TRUE(relisted(*w));
    EXPECT_EQ(cell(*w, QStringLiteral("Bo"), Column::KeepUntil), QStringLiteral("2025-01-31")); // the new period
}

TEST_F(DecisionWindowTest, ALetterIsSavedAsPdfOrRefusedNamingWhatIsMissing)
{
    applicant("bo.tenvoria", "Bo Chen", "39,000");
    decided("bo.tenvoria", Status::Denied, QDate(2025, 6, 2));
    {
        compare::ComparisonSettings settings(settingsPath());
        decision::Vacancy vacancy;
        vacancy.unitAddress = QStringLiteral("12 Birch Lane");
        vacancy.landlordName = QStringLiteral("Marrowick Rentals");
        decision::setVacancyOf(settings, folder(), vacancy);
        settings.save();
    }
    auto w = window();
    const QString target = dir.filePath(QStringLiteral("denial.pdf"));
    w->setAskExportPath([&](const QString &, const QString &suggested) {
        // The name suggested carries the format chosen, and the letter is saved in that format.
        EXPECT_TRUE(suggested.endsWith(QStringLiteral("bo-denial.pdf")) || suggested.endsWith(QStringLiteral("bo-denial.doc")))
            << suggested.toStdString();
        return suggested.endsWith(QStringLiteral(".doc")) ? dir.filePath(QStringLiteral("denial.doc")) : target;
    });
    QString refusal;
    w->setRunDialog([&](QDialog &dialog) {
        EXPECT_TRUE(child<QRadioButton>(dialog, decision::letterTitle(decision::LetterKind::Denial))->isChecked());
        click(dialog, "Save");
        child<QComboBox>(dialog, QStringLiteral("Format"))->setCurrentIndex(1); // Word document
        click(dialog, "Save");
        child<QRadioButton>(dialog, decision::letterTitle(decision::LetterKind::AdverseAction))->setChecked(true);
        refusal = child<QLabel>(dialog, QStringLiteral("Problem"))->text();
        return QDialog::Rejected;
    });
    w->writeLetters(file("bo.tenvoria"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {target, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString letter = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(letter.contains(QStringLiteral("Bo Chen"))) << letter.toStdString();
    EXPECT_TRUE(letter.contains(QStringLiteral("12 Birch Lane"))) << letter.toStdString();
    EXPECT_TRUE(refusal.contains(QStringLiteral("a consumer report used in the decision"))) << refusal.toStdString();
    EXPECT_TRUE(testsupport::readTestFile(dir.filePath(QStringLiteral("denial.doc"))).startsWith("\xD0\xCF\x11\xE0"))
        << "a Word 97 document";
}

TEST_F(DecisionWindowTest, DisposalListsAsksOnceAndRemovesOnlyTheExpiredFile)
{
    applicant("old.tenvoria", "Old Withdrawn", "40,000");
    decided("old.tenvoria", Status::Withdrawn, QDate::currentDate().addYears(-3));
    applicant("new.tenvoria", "New Denied", "40,000");
    decided("new.tenvoria", Status::Denied, QDate::currentDate().addDays(-10));
    applicant("wait.tenvoria", "Still Pending", "40,000");
    record::RecentFiles recent;
    recent.add(file("wait.tenvoria"));
    recent.add(file("old.tenvoria"));
    auto w = window();
    w->setRunDialog([](QDialog &) { return int(QDialog::Rejected); }); // Cancel
    w->disposeExpired();
    EXPECT_TRUE(QFile::exists(file("old.tenvoria")));
    int asked = 0;
    QStringList listedNames;
    w->setRunDialog([&](QDialog &dialog) {
        ++asked;
        auto *files = child<QTableWidget>(dialog, QStringLiteral("ExpiredFiles"));
        for (int r = 0; r < files->rowCount(); ++r)
            listedNames << files->item(r, 1)->text();
        dialog.accept();
        return dialog.result();
    });
    w->disposeExpired();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(listedNames, QStringList{QStringLiteral("Old Withdrawn")});
    EXPECT_FALSE(QFile::exists(file("old.tenvoria")));
    EXPECT_TRUE(QFile::exists(file("new.tenvoria")));
    EXPECT_TRUE(QFile::exists(file("wait.tenvoria")));
    EXPECT_EQ(record::RecentFiles().paths(), QStringList{file("wait.tenvoria")});
    const QByteArray log = testsupport::readTestFile(decision::disposalLogPath(folder()));
    EXPECT_TRUE(log.contains("old.tenvoria"));
    EXPECT_FALSE(log.contains("078-05"));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_TRUE(boxes.shown.back().text.contains(QStringLiteral("Disposed of 1 file: old.tenvoria")))
        << boxes.shown.back().text.toStdString();
}

// Two people deciding on one applicant through a shared folder: the second save does not replace the
// first unseen. It is told, and a second Save, once the other decision was shown, replaces it.
TEST_F(DecisionWindowTest, ADecisionWrittenByAnotherMeanwhileIsNotReplacedUnseen)
{
    applicant("dee.tenvoria", "Dee", "60,000");
    auto w = window();
    QString firstTry;
    w->setRunDialog([&](QDialog &dialog) {
        choose(dialog, Status::Approved);
        decision::Decision theirs;
        theirs.status = Status::Withdrawn;
        theirs.date = QDate::currentDate();
        decision::writeDecision(file("dee.tenvoria"), theirs); // the other landlord, meanwhile
        click(dialog, "Save");
        firstTry = static_cast<entry::DecisionDialog &>(dialog).shownProblem();
        EXPECT_EQ(decision::readDecision(file("dee.tenvoria")).status, Status::Withdrawn);
        click(dialog, "Save");
        return dialog.result();
    });
    w->decide(file("dee.tenvoria"));
    EXPECT_TRUE(firstTry.contains(QStringLiteral("changed while this one was typed"))) << firstTry.toStdString();
    EXPECT_EQ(decision::readDecision(file("dee.tenvoria")).status, Status::Approved);
}

} // namespace
