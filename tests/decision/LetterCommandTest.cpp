// tenvoria-render --letter: the adverse action notice carries every element the law asks for, as
// an outside reader finds it in the PDF and in the .doc; a letter that lacks one is not made.
#include "TestFiles.h"
#include "compare/ComparisonSettings.h"
#include "decision/DecisionFile.h"
#include "decision/Vacancy.h"
#include "record/ApplicantFile.h"
#include "record/IniText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};

Ran run(const QString &program, const QStringList &arguments, const QString &state = QString())
{
    QProcess process;
    if (!state.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Words as a reader lays them out: one space between each, whatever lines and columns did, and
// the typesetter's ligatures (ﬁ) as the letters they join.
QString flattened(const QByteArray &text)
{
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_KC).simplified();
}

class Letter : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("12 Elm St"));
    QString state = dir.filePath(QStringLiteral("state"));
    QString applicantPath = folder + QStringLiteral("/moreau.tenvoria");
    decision::Vacancy vacancy;
    decision::Decision made;

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder));
        vacancy.unitAddress = QStringLiteral("12 Elm St, Apt 3, Concord, NH 03301");
        vacancy.landlordName = QStringLiteral("Harriet Okafor");
        vacancy.landlordAddress = QStringLiteral("40 Main St, Concord, NH 03301");
        vacancy.landlordPhone = QStringLiteral("603-555-0142");
        vacancy.agencies.append({QStringLiteral("Equifax Information Services LLC"),
                                 QStringLiteral("P.O. Box 740241, Atlanta, GA 30374"), QStringLiteral("1-866-349-5191"),
                                 QStringLiteral("www.equifax.com"), true});
        writeVacancy();
        record::writeApplicantFile(applicantPath,
                                   {{QStringLiteral("App Info Name"), QStringLiteral("Mónica Moreau")},
                                    {QStringLiteral("App Info SSN"), QStringLiteral("123-45-6789")},
                                    {QStringLiteral("App Info Current Address"), QStringLiteral("7 Birch Lane")},
                                    {QStringLiteral("App Info Current City"), QStringLiteral("Nashua")},
                                    {QStringLiteral("App Info Current State"), QStringLiteral("NH")},
                                    {QStringLiteral("App Info Current Zip Code"), QStringLiteral("03060")},
                                    {QStringLiteral("Co Name"), QStringLiteral("Tomás Moreau")}});
        made.status = decision::Status::ApprovedWithConditions;
        made.date = QDate::currentDate().addDays(-2);
        made.conditions.deposit = true;
        made.conditions.depositAmount = QStringLiteral("$2,400");
        made.reasons.creditHistory = true;
        made.reportUsed = true;
        made.agency = vacancy.agencies[0].name;
        made.score = {true, QStringLiteral("612"), QStringLiteral("300"), QStringLiteral("850"),
                      {QStringLiteral("Serious delinquency"), QStringLiteral("Proportion of balances to credit limits"), {}, {}},
                      QDate::currentDate().addDays(-5), QStringLiteral("Equifax (FICO Score 8)")};
        decision::writeDecision(applicantPath, made);
    }

    // Written as the Applicants window keeps it; `raw` bypasses the check a window makes, as a
    // settings file edited by hand or from an older release would.
    void writeVacancy(bool raw = false)
    {
        compare::ComparisonSettings settings(state + QStringLiteral("/tenvoria/applicants"));
        if (!raw) {
            decision::setVacancyOf(settings, folder, vacancy);
        } else {
            const decision::Agency &agency = vacancy.agencies[0];
            settings.setFolderValue(QStringLiteral("Agencies"), folder,
                                    QStringLiteral("[{\"name\":\"%1\",\"address\":\"%2\",\"phone\":\"%3\"}]")
                                        .arg(agency.name, agency.address, agency.phone));
        }
        ASSERT_TRUE(QDir().mkpath(state + QStringLiteral("/tenvoria")));
        settings.save();
    }

    Ran letter(const QString &kind, const QString &doc, const QString &pdf)
    {
        return run(QStringLiteral(TENVORIA_RENDER),
                   {QStringLiteral("--letter"), kind, QStringLiteral("--applicant"), applicantPath, QStringLiteral("--doc"), doc,
                    QStringLiteral("--pdf"), pdf},
                   state);
    }
};

TEST_F(Letter, TheAdverseActionNoticeHoldsEveryElementInThePdfAndTheDoc)
{
    const QString doc = dir.filePath(QStringLiteral("notice.doc")), pdf = dir.filePath(QStringLiteral("notice.pdf"));
    const Ran made = letter(QStringLiteral("adverse-action"), doc, pdf);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const Ran fromPdf = run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    const Ran fromDoc = run(QStringLiteral("antiword"), {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"), doc});
    ASSERT_EQ(fromPdf.exitCode, 0);
    ASSERT_EQ(fromDoc.exitCode, 0) << fromDoc.err.toStdString();
    const QStringList elements = {
        // to whom, at the current address on the form
        QStringLiteral("Mónica Moreau"), QStringLiteral("Tomás Moreau"), QStringLiteral("7 Birch Lane"),
        QStringLiteral("Nashua, NH 03060"),
        // the action taken
        QStringLiteral("we approved your application only on these conditions"), QStringLiteral("a security deposit of $2,400"),
        // the agency's name, address and telephone number
        QStringLiteral("Equifax Information Services LLC"), QStringLiteral("P.O. Box 740241, Atlanta, GA 30374"),
        QStringLiteral("Telephone: 1-866-349-5191 (toll-free)"),
        // the agency did not decide and cannot give the reasons
        QStringLiteral("The consumer reporting agency did not make this decision and is unable to provide you the specific "
                       "reasons why the decision was made."),
        // a free copy within 60 days
        QStringLiteral("You have the right to obtain a free copy of your consumer report from the consumer reporting agency "
                       "named above, if you request it within 60 days of receiving this notice."),
        // the dispute
        QStringLiteral("You have the right to dispute directly with the consumer reporting agency the accuracy or "
                       "completeness of any information in the report it furnished."),
        // the credit score disclosure
        QStringLiteral("Your credit score: 612"), QStringLiteral("Scores range from a low of 300 to a high of 850."),
        QStringLiteral("Serious delinquency"), QStringLiteral("Proportion of balances to credit limits"),
        QStringLiteral("Date of the score: ") + QLocale(QLocale::English).toString(QDate::currentDate().addDays(-5),
                                                                                    QStringLiteral("MMMM d, yyyy")),
        QStringLiteral("Provided by: Equifax (FICO Score 8)"),
    };
    const QString pdfText = flattened(fromPdf.out), docText = flattened(fromDoc.out);
    for (const QString &element : elements) {
        EXPECT_TRUE(pdfText.contains(element)) << "PDF lacks: " << element.toStdString() << "\n" << pdfText.toStdString();
        EXPECT_TRUE(docText.contains(element)) << ".doc lacks: " << element.toStdString() << "\n" << docText.toStdString();
    }
    EXPECT_FALSE(pdfText.contains(QStringLiteral("123-45-6789")));
    EXPECT_EQ(testsupport::modeOf(pdf), 0600u); // it discloses a credit score
    EXPECT_EQ(testsupport::modeOf(doc), 0600u);
}

TEST_F(Letter, ALetterLackingAnElementIsRefusedNamingItAndNothingIsWritten)
{
    const QString doc = dir.filePath(QStringLiteral("x.doc")), pdf = dir.filePath(QStringLiteral("x.pdf"));
    const auto refused = [&](const QString &kind, const QString &named) {
        const Ran ran = letter(kind, doc, pdf);
        EXPECT_EQ(ran.exitCode, 1) << named.toStdString();
        EXPECT_TRUE(ran.err.contains(named.toUtf8())) << named.toStdString() << ": " << ran.err.toStdString();
        EXPECT_FALSE(QFile::exists(doc) || QFile::exists(pdf)) << named.toStdString();
    };
    // Written as another program or an older release could have: past the checks a window makes.
    const QByteArray plain = testsupport::readTestFile(applicantPath);
    const auto withDecision = [&](const std::function<void(decision::Decision &)> &change) {
        decision::Decision changed = made;
        change(changed);
        QMap<QString, QString> keyed;
        const QMap<QString, QString> values = decision::decisionValues(changed);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            keyed.insert(QStringLiteral("Decision/") + it.key(), it.value());
        testsupport::writeTestFile(applicantPath, plain.left(plain.indexOf("\n[Decision]") + 1) + "\n" + record::encodeIniText(keyed));
    };
    withDecision([](decision::Decision &d) { d.score.rangeHigh.clear(); });
    refused(QStringLiteral("adverse-action"), QStringLiteral("the credit score's range"));
    withDecision([](decision::Decision &d) { d.score.keyFactors = {}; });
    refused(QStringLiteral("adverse-action"), QStringLiteral("the key factors"));
    withDecision([](decision::Decision &d) { d.score.providedBy.clear(); });
    refused(QStringLiteral("adverse-action"), QStringLiteral("who provided the credit score"));
    withDecision([](decision::Decision &d) { d.agency = QStringLiteral("TransUnion"); });
    refused(QStringLiteral("adverse-action"), QStringLiteral("\"TransUnion\" among the folder's agencies"));
    withDecision([](decision::Decision &d) { d.reportUsed = false; d.score.used = false; });
    refused(QStringLiteral("adverse-action"), QStringLiteral("send the plain denial"));
    refused(QStringLiteral("denial"), QStringLiteral("a denial (the decision is Approved with conditions)"));
    decision::writeDecision(applicantPath, made);

    vacancy.agencies[0].address.clear();
    writeVacancy(true);
    refused(QStringLiteral("adverse-action"), QStringLiteral("the address of the agency Equifax"));
    vacancy.agencies[0].address = QStringLiteral("P.O. Box 740241, Atlanta, GA 30374");
    vacancy.agencies[0].phone = QStringLiteral("404-885-8000");
    writeVacancy(true);
    refused(QStringLiteral("adverse-action"), QStringLiteral("the toll-free telephone number of the agency Equifax"));
    vacancy.agencies[0].phone = QStringLiteral("1-866-349-5191");
    vacancy.landlordName.clear();
    writeVacancy();
    refused(QStringLiteral("approval"), QStringLiteral("the landlord's or manager's name"));

    // A locked file without its passphrase says so.
    const record::Passphrase key(QStringLiteral("s3cret"));
    record::writeApplicantFile(applicantPath, {{QStringLiteral("App Info Name"), QStringLiteral("Mónica Moreau")}}, &key,
                               {1, 64 * 1024});
    refused(QStringLiteral("approval"), QStringLiteral("locked"));
}

TEST_F(Letter, APlainDenialGivesItsReasonsAndAnApprovalItsConditions)
{
    decision::Decision denied;
    denied.status = decision::Status::Denied;
    denied.date = QDate::currentDate();
    denied.reasons.incomeBelowMinimum = true;
    denied.reasons.evictionRecord = true;
    decision::writeDecision(applicantPath, denied);
    const QString doc = dir.filePath(QStringLiteral("d.doc")), pdf = dir.filePath(QStringLiteral("d.pdf"));
    const Ran made = letter(QStringLiteral("denial"), doc, pdf);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString text = flattened(run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                                                      QStringLiteral("-")}).out);
    EXPECT_TRUE(text.contains(QStringLiteral("Income below the minimum required for the rent."))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Eviction record.")));
    EXPECT_TRUE(text.contains(QStringLiteral("not based on information in a consumer report")));
    EXPECT_TRUE(text.contains(QStringLiteral("Harriet Okafor")));
}

} // namespace
