#include "Letters.h"

#include "automation/WordAutomation.h"
#include "base/Failure.h"
#include "base/SafeWrite.h"
#include "compare/IncomeReading.h"
#include "form/DocumentCopy.h"
#include "wordproc/editing/Editor.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/layout/PrintedPages.h"
#include "wordproc/msdoc/DocWriter.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>

namespace decision {
namespace {

QString value(const LetterInput &input, const char *key) { return input.record.value(QLatin1String(key)).trimmed(); }

QString longDate(const QDate &date) { return QLocale(QLocale::English, QLocale::UnitedStates).toString(date, QStringLiteral("MMMM d, yyyy")); }

// "Street\nCity, ST 01234" from the record's current address of the applicant or co-applicant.
QString addressOf(const LetterInput &input, const char *prefix)
{
    const auto part = [&](const char *name) {
        return input.record.value(QLatin1String(prefix) + QLatin1String(name)).trimmed();
    };
    QString cityLine = part(" City");
    const QString stateZip = (part(" State") + QLatin1Char(' ') + part(" Zip Code")).trimmed();
    if (!stateZip.isEmpty())
        cityLine = cityLine.isEmpty() ? stateZip : cityLine + QStringLiteral(", ") + stateZip;
    return QStringList{part(" Address"), cityLine}.join(QLatin1Char('\n')).trimmed();
}

// An amount as the letter says it: "$2,500" whether "2500", "2,500" or "$2,500.00" was typed.
QString dollars(const QString &typed)
{
    const std::optional<double> amount = compare::readRent(typed);
    if (!amount)
        return typed.trimmed();
    const bool whole = *amount == std::floor(*amount);
    return QStringLiteral("$") + QLocale(QLocale::English, QLocale::UnitedStates).toString(*amount, 'f', whole ? 0 : 2);
}

QString conditionsText(const Conditions &conditions)
{
    QStringList list;
    if (conditions.coSigner)
        list << QStringLiteral("a co-signer on the lease");
    if (conditions.deposit)
        list << QStringLiteral("a security deposit of %1").arg(dollars(conditions.depositAmount));
    if (conditions.higherRent)
        list << QStringLiteral("a monthly rent of %1").arg(dollars(conditions.rentAmount));
    if (!conditions.other.trimmed().isEmpty())
        list << conditions.other.trimmed();
    return list.join(QStringLiteral("; "));
}

} // namespace

std::optional<LetterKind> letterKindNamed(const QString &name)
{
    if (name == QLatin1String("approval"))
        return LetterKind::Approval;
    if (name == QLatin1String("adverse-action"))
        return LetterKind::AdverseAction;
    if (name == QLatin1String("denial"))
        return LetterKind::Denial;
    return std::nullopt;
}

QString letterTitle(LetterKind kind)
{
    switch (kind) {
    case LetterKind::Approval: return QStringLiteral("Approval of Your Rental Application");
    case LetterKind::AdverseAction: return QStringLiteral("Notice of Adverse Action");
    case LetterKind::Denial: return QStringLiteral("Decision on Your Rental Application");
    }
    return QString();
}

QStringList missingFor(LetterKind kind, const LetterInput &input)
{
    QStringList missing;
    const Decision &decision = input.decision;
    const Status status = decision.status;
    if (value(input, "App Info Name").isEmpty())
        missing << QStringLiteral("the applicant's name");
    if (value(input, "App Info Current Address").isEmpty())
        missing << QStringLiteral("the applicant's current address");
    if (input.vacancy.landlordName.trimmed().isEmpty())
        missing << QStringLiteral("the landlord's or manager's name");
    if (input.vacancy.unitAddress.trimmed().isEmpty())
        missing << QStringLiteral("the unit's address");
    if (!decision.date.isValid())
        missing << QStringLiteral("the decision's date");
    switch (kind) {
    case LetterKind::Approval:
        if (status != Status::Approved && status != Status::ApprovedWithConditions)
            missing << QStringLiteral("an approval (the decision is %1)").arg(statusName(status));
        break;
    case LetterKind::Denial:
        if (status != Status::Denied)
            missing << QStringLiteral("a denial (the decision is %1)").arg(statusName(status));
        if (decision.reportUsed)
            missing << QStringLiteral("a decision made without a consumer report (one was used: the adverse action "
                                      "notice is the letter to send)");
        if (!decision.reasons.any())
            missing << QStringLiteral("the reasons for the denial");
        break;
    case LetterKind::AdverseAction: {
        if (status != Status::Denied && status != Status::ApprovedWithConditions)
            missing << QStringLiteral("a denial or an approval with conditions (the decision is %1)").arg(statusName(status));
        if (!decision.reportUsed) {
            missing << QStringLiteral("a consumer report used in the decision (none was: send the plain denial)");
            break;
        }
        const Agency *agency = input.vacancy.agencyNamed(decision.agency);
        if (!agency) {
            missing << QStringLiteral("the consumer reporting agency \"%1\" among the folder's agencies").arg(decision.agency);
        } else {
            if (agency->address.trimmed().isEmpty())
                missing << QStringLiteral("the address of the agency %1").arg(agency->name);
            if (agency->phone.trimmed().isEmpty())
                missing << QStringLiteral("the telephone number of the agency %1").arg(agency->name);
            else if (agency->nationwide && !isTollFree(agency->phone))
                missing << QStringLiteral("the toll-free telephone number of the agency %1, which keeps files nationwide")
                               .arg(agency->name);
        }
        const ScoreDisclosure &score = decision.score;
        if (score.used) {
            if (score.score.trimmed().isEmpty())
                missing << QStringLiteral("the credit score");
            if (score.rangeLow.trimmed().isEmpty() || score.rangeHigh.trimmed().isEmpty())
                missing << QStringLiteral("the credit score's range");
            if (score.factors().isEmpty())
                missing << QStringLiteral("the key factors that affected the credit score");
            if (!score.date.isValid())
                missing << QStringLiteral("the date of the credit score");
            if (score.providedBy.trimmed().isEmpty())
                missing << QStringLiteral("who provided the credit score");
        }
        break;
    }
    }
    return missing;
}

QList<LetterParagraph> letterContent(LetterKind kind, const LetterInput &input)
{
    const QStringList missing = missingFor(kind, input);
    if (!missing.isEmpty())
        throw base::Failure(QStringLiteral("The %1 cannot be made: it needs %2.")
                                .arg(letterTitle(kind).toLower(), missing.join(QStringLiteral(", "))));
    const Decision &decision = input.decision;
    const Vacancy &vacancy = input.vacancy;
    QList<LetterParagraph> letter;
    const auto add = [&](const QString &text, bool heading = false) { letter.append({text, heading}); };

    QStringList sender = {vacancy.landlordName.trimmed()};
    if (!vacancy.landlordAddress.trimmed().isEmpty())
        sender << vacancy.landlordAddress.trimmed();
    if (!vacancy.landlordPhone.trimmed().isEmpty())
        sender << QStringLiteral("Telephone: %1").arg(vacancy.landlordPhone.trimmed());
    add(sender.join(QLatin1Char('\n')));
    add(longDate(input.date));
    // To the applicant, and the co-applicant where there is one, at the current address on the form.
    const QString name = value(input, "App Info Name"), coName = value(input, "Co Name");
    const QString address = addressOf(input, "App Info Current"), coAddress = addressOf(input, "Co Current");
    if (coName.isEmpty())
        add(name + QLatin1Char('\n') + address);
    else if (coAddress.isEmpty() || coAddress == address)
        add(name + QLatin1Char('\n') + coName + QLatin1Char('\n') + address);
    else {
        add(name + QLatin1Char('\n') + address);
        add(coName + QLatin1Char('\n') + coAddress);
    }
    add(letterTitle(kind), true);
    add(QStringLiteral("Re: Your application to rent %1").arg(vacancy.unitAddress.trimmed()));
    add(QStringLiteral("Dear %1:").arg(coName.isEmpty() ? name : name + QStringLiteral(" and ") + coName));

    const QString conditions = conditionsText(decision.conditions);
    const QStringList reasons = decision.reasons.sentences();
    switch (kind) {
    case LetterKind::Approval:
        add(QStringLiteral("We are pleased to tell you that your application was approved on %1.").arg(longDate(decision.date)));
        if (decision.status == Status::ApprovedWithConditions)
            add(QStringLiteral("The approval is subject to these conditions: %1.").arg(conditions));
        add(QStringLiteral("Please contact us to sign the lease and arrange your move-in."));
        break;
    case LetterKind::Denial:
        add(QStringLiteral("Thank you for your application. On %1 we decided not to approve it, for these reasons:")
                .arg(longDate(decision.date)));
        for (const QString &reason : reasons)
            add(QStringLiteral("•  ") + reason);
        add(QStringLiteral("This decision was not based on information in a consumer report."));
        break;
    case LetterKind::AdverseAction: {
        const Agency &agency = *vacancy.agencyNamed(decision.agency);
        add(QStringLiteral("Action taken"), true);
        if (decision.status == Status::Denied)
            add(QStringLiteral("On %1 we denied your application.").arg(longDate(decision.date)));
        else
            add(QStringLiteral("On %1 we approved your application only on these conditions, which are less favorable "
                               "than the terms you applied for: %2.")
                    .arg(longDate(decision.date), conditions));
        if (!reasons.isEmpty()) {
            add(QStringLiteral("Our reasons:"));
            for (const QString &reason : reasons)
                add(QStringLiteral("•  ") + reason);
        }
        add(QStringLiteral("The consumer reporting agency"), true);
        add(QStringLiteral("Our decision was based in whole or in part on information in a consumer report we obtained "
                           "from this consumer reporting agency:"));
        QStringList agencyLines = {agency.name.trimmed(), agency.address.trimmed(),
                                   QStringLiteral("Telephone: %1%2").arg(agency.phone.trimmed(),
                                                                         agency.nationwide ? QStringLiteral(" (toll-free)")
                                                                                           : QString())};
        if (!agency.website.trimmed().isEmpty())
            agencyLines << QStringLiteral("Website: %1").arg(agency.website.trimmed());
        add(agencyLines.join(QLatin1Char('\n')));
        add(QStringLiteral("The consumer reporting agency did not make this decision and is unable to provide you the "
                           "specific reasons why the decision was made."));
        add(QStringLiteral("Your rights"), true);
        add(QStringLiteral("You have the right to obtain a free copy of your consumer report from the consumer reporting "
                           "agency named above, if you request it within 60 days of receiving this notice."));
        add(QStringLiteral("You have the right to dispute directly with the consumer reporting agency the accuracy or "
                           "completeness of any information in the report it furnished."));
        const ScoreDisclosure &score = decision.score;
        if (score.used) {
            add(QStringLiteral("Your credit score"), true);
            add(QStringLiteral("We also obtained your credit score from this consumer reporting agency and used it in "
                               "making our decision. Your credit score is a number that reflects the information in "
                               "your consumer report."));
            add(QStringLiteral("Your credit score: %1").arg(score.score.trimmed()));
            add(QStringLiteral("Scores range from a low of %1 to a high of %2.").arg(score.rangeLow.trimmed(), score.rangeHigh.trimmed()));
            add(QStringLiteral("Key factors that adversely affected your credit score:"));
            for (const QString &factor : score.factors())
                add(QStringLiteral("•  ") + factor);
            add(QStringLiteral("Date of the score: %1").arg(longDate(score.date)));
            add(QStringLiteral("Provided by: %1").arg(score.providedBy.trimmed()));
        }
        break;
    }
    }
    add(QStringLiteral("Sincerely,"));
    add(vacancy.landlordName.trimmed());
    return letter;
}

void saveLetter(const QString &path, const QByteArray &bytes)
{
    base::ReplaceOptions options;
    options.followLink = true;
    options.mode = 0600;
    base::replaceFile(path, bytes, options);
}

QByteArray Letter::pdf() const { return wordproc::pdfOf(document.document(), title); }

Letter buildLetter(LetterKind kind, const LetterInput &input)
{
    const QList<LetterParagraph> content = letterContent(kind, input);
    QByteArray bytes;
    {
        wordproc::BuiltinApplicationFactory engine;
        const std::shared_ptr<automation::Application> app = engine.createNew();
        const std::shared_ptr<automation::Document> doc = app->documents()->add();
        // The form's paper and margins, and its font.
        const std::shared_ptr<automation::PageSetup> page = doc->pageSetup();
        page->setOrientation(automation::wdOrientPortrait);
        page->setPageWidth(app->inchesToPoints(8.5));
        page->setPageHeight(app->inchesToPoints(11));
        page->setTopMargin(app->inchesToPoints(0.6));
        page->setBottomMargin(app->inchesToPoints(0.6));
        page->setLeftMargin(app->inchesToPoints(0.75));
        page->setRightMargin(app->inchesToPoints(0.75));
        const std::shared_ptr<automation::Selection> selection = doc->activeWindowSelection();
        selection->setFontName(QStringLiteral("Tahoma"));
        // Each line its own paragraph (the engine keeps no line break inside one), an empty one
        // between blocks.
        for (qsizetype i = 0; i < content.size(); ++i) {
            selection->setFontBold(content[i].heading);
            selection->setFontSize(content[i].heading ? 11 : 10);
            QString text = content[i].text;
            text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
            selection->typeText(text + (i + 1 < content.size() ? QStringLiteral("\r\r") : QString()));
        }
        bytes = wordproc::encodeDoc(wordproc::builtinEditor(*doc).document());
        app->quit();
    }
    return {form::FormDocument::fromBytes(std::move(bytes)), letterTitle(kind)};
}

void saveLetterAs(const QString &path, LetterKind kind, const LetterInput &input)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("doc") && suffix != QLatin1String("pdf"))
        throw base::Failure(QStringLiteral("A letter is saved as .doc or .pdf; \"%1\" is neither.").arg(QFileInfo(path).fileName()));
    form::checkSaveTarget(path);
    const Letter letter = buildLetter(kind, input);
    saveLetter(path, suffix == QLatin1String("pdf") ? letter.pdf() : letter.document.docBytes());
}

} // namespace decision
