// The decision's section in an applicant file: kept beside the record, locked with it, written
// without losing what another writer put into the file, refused when it is wrong.
#include "TestFiles.h"
#include "Unprivileged.h"
#include "decision/DecisionFile.h"
#include "record/ApplicantFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fcntl.h>

namespace {

const record::LockCost kCheap{1, 64 * 1024};
const QDate kToday(2026, 12, 8);

QMap<QString, QString> applicant(const QString &name)
{
    return {{QStringLiteral("App Info Name"), name}, {QStringLiteral("App Info SSN"), QStringLiteral("123-45-6789")}};
}

decision::Decision conditionalOnAReport()
{
    decision::Decision made;
    made.status = decision::Status::ApprovedWithConditions;
    made.date = QDate(2026, 11, 30);
    made.conditions.deposit = true;
    made.conditions.depositAmount = QStringLiteral("$2,400");
    made.conditions.coSigner = true;
    made.reasons.creditHistory = true;
    made.reasons.other = QStringLiteral("Short job history, 2 months");
    made.reportUsed = true;
    made.agency = QStringLiteral("Equifax");
    made.score = {true, QStringLiteral("612"), QStringLiteral("300"), QStringLiteral("850"),
                  {QStringLiteral("Late payments"), QStringLiteral("High balances"), {}, {}}, QDate(2026, 11, 28),
                  QStringLiteral("Equifax (FICO 8)")};
    made.criteria = {1850, 3, 2.4};
    return made;
}

TEST(DecisionFile, ADecisionIsKeptBesideTheRecordPlainOrLockedAndReadBackWhole)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(plain, applicant(QStringLiteral("Ana Brandt")));
    EXPECT_EQ(decision::readDecision(plain).status, decision::Status::Pending); // none written yet

    const decision::Decision made = conditionalOnAReport();
    decision::writeDecision(plain, made, nullptr, kToday);
    const decision::Decision read = decision::readDecision(plain);
    EXPECT_EQ(decision::decisionValues(read), decision::decisionValues(made));
    EXPECT_EQ(record::readApplicantFile(plain).value(QStringLiteral("App Info Name")), QStringLiteral("Ana Brandt"));
    EXPECT_EQ(testsupport::modeOf(plain), 0600u);

    const QString locked = dir.filePath(QStringLiteral("bo.tenvoria"));
    const record::Passphrase key(QStringLiteral("correct horse"));
    record::writeApplicantFile(locked, applicant(QStringLiteral("Bo Lindqvist")), &key, kCheap);
    EXPECT_THROW(decision::writeDecision(locked, made, nullptr, kToday), record::UnlockFailure);
    decision::writeDecision(locked, made, &key, kToday, kCheap);
    const QByteArray bytes = testsupport::readTestFile(locked);
    EXPECT_TRUE(record::isLockedFile(bytes));
    EXPECT_FALSE(bytes.contains("Equifax")); // the decision is locked with the record
    EXPECT_THROW(decision::readDecision(locked), record::UnlockFailure);
    EXPECT_EQ(decision::decisionValues(decision::readDecision(locked, &key)), decision::decisionValues(made));
    EXPECT_EQ(record::readApplicantFile(locked, &key).value(QStringLiteral("App Info SSN")), QStringLiteral("123-45-6789"));
    // The main window's next save of the locked record keeps the decision in it.
    record::writeApplicantFile(locked, applicant(QStringLiteral("Bo Lindqvist-Ek")), &key, kCheap);
    EXPECT_EQ(decision::readDecision(locked, &key).status, decision::Status::ApprovedWithConditions);
}

TEST(DecisionFile, WritingADecisionKeepsWhatTheMainWindowSavedMeanwhile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(path, applicant(QStringLiteral("Ana")));
    const decision::FileStamp shown = decision::stampOf(path);
    // The main window saves the record after the Applicants window read the file...
    QMap<QString, QString> edited = applicant(QStringLiteral("Ana Brandt-Moreau"));
    edited.insert(QStringLiteral("App Info Current Address"), QStringLiteral("12 Rue des Lilas"));
    record::writeApplicantFile(path, edited);
    EXPECT_TRUE(decision::changedSince(path, shown));
    // ...and the decision written then keeps that save, and the main window's next save keeps it.
    decision::writeDecision(path, conditionalOnAReport(), nullptr, kToday);
    EXPECT_EQ(record::readApplicantFile(path).value(QStringLiteral("App Info Current Address")), QStringLiteral("12 Rue des Lilas"));
    record::writeApplicantFile(path, applicant(QStringLiteral("Ana Brandt-Moreau")));
    EXPECT_EQ(decision::readDecision(path).status, decision::Status::ApprovedWithConditions);
    const QByteArray once = testsupport::readTestFile(path);
    decision::writeDecision(path, conditionalOnAReport(), nullptr, kToday);
    EXPECT_EQ(testsupport::readTestFile(path), once); // rewritten in place, not added twice
}

TEST(DecisionFile, AChangeOnDiskIsSeenBySizeTimeOrContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(path, applicant(QStringLiteral("Ana")));
    const decision::FileStamp read = decision::stampOf(path);
    EXPECT_FALSE(decision::changedSince(path, read));
    const decision::FileStamp ours = decision::writeDecision(path, conditionalOnAReport(), nullptr, kToday);
    EXPECT_FALSE(decision::changedSince(path, ours)); // our own write is no one else's change
    EXPECT_TRUE(decision::changedSince(path, read));

    // Same size and time, other content: a network folder's clock is no proof.
    QByteArray bytes = testsupport::readTestFile(path);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    bytes.replace("Ana", "Bob");
    testsupport::writeTestFile(path, bytes);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    EXPECT_TRUE(decision::changedSince(path, ours));
    const decision::FileStamp now = decision::stampOf(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(decision::changedSince(path, now)); // gone
}

TEST(DecisionFile, AWrongDecisionOrFileChangesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(path, applicant(QStringLiteral("Ana")));
    const QByteArray before = testsupport::readTestFile(path);
    const auto refusal = [&](const decision::Decision &wrong) {
        try {
            decision::writeDecision(path, wrong, nullptr, kToday);
        } catch (const base::Failure &failure) {
            return failure.description();
        }
        return QString();
    };
    decision::Decision noAmount = conditionalOnAReport();
    noAmount.conditions.depositAmount = QStringLiteral("  ");
    EXPECT_TRUE(refusal(noAmount).contains(QStringLiteral("deposit needs its amount")));
    decision::Decision future = conditionalOnAReport();
    future.date = kToday.addDays(1);
    EXPECT_TRUE(refusal(future).contains(QStringLiteral("in the future")));
    decision::Decision noRange = conditionalOnAReport();
    noRange.score.rangeHigh.clear();
    EXPECT_TRUE(refusal(noRange).contains(QStringLiteral("range")));
    decision::Decision noAgency = conditionalOnAReport();
    noAgency.agency.clear();
    EXPECT_TRUE(refusal(noAgency).contains(QStringLiteral("name the agency")));
    EXPECT_EQ(testsupport::readTestFile(path), before);
    EXPECT_FALSE(decision::readDate(QStringLiteral("30/11/2026")));
    EXPECT_FALSE(decision::readDate(QStringLiteral("2026-02-30")));

    // A date in the file that cannot be read is named, not taken for no date.
    testsupport::writeTestFile(path, before + "\n[Decision]\nStatus=Denied\nDate=next tuesday\n");
    try {
        decision::readDecision(path);
        ADD_FAILURE() << "an unreadable date was read";
    } catch (const base::Failure &failure) {
        EXPECT_TRUE(failure.description().contains(QStringLiteral("next tuesday")));
    }
    // Something that is no applicant file is not made one.
    const QString other = dir.filePath(QStringLiteral("notes.tenvoria"));
    testsupport::writeTestFile(other, "[Other]\nx=1\n");
    EXPECT_THROW(decision::writeDecision(other, conditionalOnAReport(), nullptr, kToday), base::Failure);
    EXPECT_EQ(testsupport::readTestFile(other), QByteArray("[Other]\nx=1\n"));
}

TEST(DecisionFile, AFolderThatCannotBeWrittenKeepsTheFileAsItWas)
{
    if (testsupport::rerunUnprivileged())
        return;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ana.tenvoria"));
    record::writeApplicantFile(path, applicant(QStringLiteral("Ana")));
    const QByteArray before = testsupport::readTestFile(path);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_THROW(decision::writeDecision(path, conditionalOnAReport(), nullptr, kToday), base::Failure);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(testsupport::readTestFile(path), before);
}

} // namespace
