#include "DecisionRun.h"

#include "HeadlessRun.h"
#include "base/Failure.h"
#include "compare/ComparisonSettings.h"
#include "decision/Disposal.h"
#include "decision/Letters.h"
#include "form/DocumentCopy.h"
#include "record/LockedFile.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <optional>

namespace tools {
namespace {

std::unique_ptr<record::Passphrase> passphraseOf(const QString &file)
{
    if (file.isEmpty())
        return nullptr;
    return std::make_unique<record::Passphrase>(readPassphrase(file));
}

void say(QTextStream &err, const QString &problem) { err << "tenvoria-render: " << problem << "\n"; }

} // namespace

int runDisposal(const DisposalRequest &request, QTextStream &out, QTextStream &err)
{
    try {
        const compare::ComparisonSettings settings;
        if (!settings.problem().isEmpty())
            throw base::Failure(settings.problem());
        const std::unique_ptr<record::Passphrase> passphrase = passphraseOf(request.passphraseFile);
        const decision::DisposalListing listing = decision::listExpired(
            request.folder, decision::retentionOf(settings, request.folder), QDate::currentDate(), passphrase.get());
        for (const decision::ExpiredFile &file : listing.files)
            out << file.fileName << "\t" << file.applicantName << "\t" << decision::statusName(file.status) << "\t"
                << decision::dateText(file.decided) << "\t"
                << (file.interrupted ? QStringLiteral("disposal interrupted")
                                     : QStringLiteral("kept until ") + decision::dateText(file.keepUntil))
                << "\n";
        for (const QString &note : listing.unchecked)
            say(err, QStringLiteral("not checked: ") + note);
        out.flush();
        if (request.dryRun)
            return 0;
        const decision::DisposalResult result = decision::dispose(request.folder, listing.files);
        for (const QString &name : result.disposed)
            out << "disposed of: " << name << "\n";
        for (const QString &problem : result.problems)
            say(err, problem);
        return result.problems.isEmpty() ? 0 : 1;
    } catch (const base::Failure &failure) {
        say(err, failure.description());
        return 1;
    }
}

int runLetter(const LetterRequest &request, QTextStream &err)
{
    const std::optional<decision::LetterKind> kind = decision::letterKindNamed(request.kind);
    if (!kind) {
        say(err, QStringLiteral("no letter is called \"%1\": approval, adverse-action or denial").arg(request.kind));
        return 2;
    }
    try {
        const compare::ComparisonSettings settings;
        if (!settings.problem().isEmpty())
            throw base::Failure(settings.problem());
        const std::unique_ptr<record::Passphrase> passphrase = passphraseOf(request.passphraseFile);
        decision::LetterInput input;
        const decision::ApplicantReading reading = decision::readApplicant(request.applicant, passphrase.get());
        input.record = reading.record;
        input.decision = reading.decision;
        input.vacancy = decision::vacancyOf(settings, QFileInfo(request.applicant).absolutePath());
        input.date = QDate::currentDate();
        // Every target is checked before the letter is made, so that a refusal writes nothing.
        for (const QString &target : {request.docPath, request.pdfPath})
            if (!target.isEmpty())
                form::checkSaveTarget(target);
        const decision::Letter letter = decision::buildLetter(*kind, input);
        if (!request.docPath.isEmpty())
            decision::saveLetter(request.docPath, letter.document.docBytes());
        if (!request.pdfPath.isEmpty())
            decision::saveLetter(request.pdfPath, letter.pdf());
        return 0;
    } catch (const base::Failure &failure) {
        say(err, failure.description());
        return 1;
    }
}

} // namespace tools
