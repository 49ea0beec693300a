// tenvoria-render [--settings FILE | --sample] [--form-language en|es] [--doc OUT.doc] [--image OUT.png] [--pdf OUT.pdf]
// tenvoria-render [--settings FILE | --sample | --blank] --fillable-pdf OUT.pdf
// tenvoria-render --import-pdf FILLED.pdf --record-out FILE
// tenvoria-render [--settings FILE | --sample] --save-applicant OUT.tenvoria [--passphrase-file F]
// (--passphrase-file F, or - for standard input, also opens a locked --settings FILE)
// tenvoria-render --compare FOLDER --rent N [--minimum M] [--pdf OUT.pdf] [--csv OUT.csv]
// tenvoria-render --dispose FOLDER [--dry-run] [--passphrase-file F]
// tenvoria-render --letter approval|adverse-action|denial --applicant FILE [--passphrase-file F]
//                 [--doc OUT.doc] [--pdf OUT.pdf]
//
// Runs the form generator through the built-in engine on a record read from a settings file of
// the program's own format (the current user's store without --settings), and writes the
// document, its page image and its pages as PDF. For tests, interop checks and benchmarks.
#include "DecisionRun.h"
#include "HeadlessRun.h"
#include "OutputPaths.h"
#include "compare/IncomeReading.h"
#include "runtime/FontFaces.h"
#include "runtime/WarmUp.h"
#include "wordproc/layout/Fonts.h"


#include <QFileInfo>
#include <QGuiApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Each problem on a line of its own, its report's line ends made the terminal's.
void sayProblems(QTextStream &err, const QStringList &problems)
{
    for (const QString &problem : problems)
        err << "tenvoria-render: " << QString(problem).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
}

// The files the run names, by what it does with them.
tools::RunFiles filesOf(const QCommandLineParser &parser, const QList<QCommandLineOption> &exports,
                        const QCommandLineOption &applicant, const QCommandLineOption &recordOut,
                        const QCommandLineOption &importPdf, const QCommandLineOption &passphraseFile,
                        const QCommandLineOption &settings)
{
    const auto named = [&](const QCommandLineOption &option) {
        return tools::NamedFile{QStringLiteral("--") + option.names().constFirst(), parser.value(option)};
    };
    tools::RunFiles files;
    for (const QCommandLineOption &option : exports)
        if (parser.isSet(option))
            files.exports << named(option);
    if (parser.isSet(applicant)) // locked with the passphrase given, plain without
        (parser.isSet(passphraseFile) ? files.lockedRecords : files.plainRecords) << named(applicant);
    if (parser.isSet(recordOut))
        files.plainRecords << named(recordOut);
    if (parser.isSet(importPdf))
        files.inputs << named(importPdf);
    if (parser.isSet(passphraseFile) && parser.value(passphraseFile) != QStringLiteral("-")) // "-": standard input
        files.inputs << named(passphraseFile);
    if (parser.isSet(settings))
        files.recordSource = named(settings);
    return files;
}

// The options of the decision's commands and their run (DecisionRun.h).
struct DecisionOptions {
    QCommandLineOption dispose{QStringLiteral("dispose"),
                               QStringLiteral("Dispose of the folder's applicant files whose retention period is over."),
                               QStringLiteral("FOLDER")};
    QCommandLineOption dryRun{QStringLiteral("dry-run"), QStringLiteral("With --dispose: list the files, dispose of none.")};
    QCommandLineOption letter{QStringLiteral("letter"),
                              QStringLiteral("Write the letter of an applicant's decision: approval, adverse-action or "
                                             "denial (to --doc and/or --pdf)."),
                              QStringLiteral("KIND")};
    QCommandLineOption applicant{QStringLiteral("applicant"), QStringLiteral("The applicant file, for --letter."),
                                 QStringLiteral("FILE")};
    QList<QCommandLineOption> all() const { return {dispose, dryRun, letter, applicant}; }

    // The exit code when the command line asks for one of these commands.
    std::optional<int> run(const QCommandLineParser &parser, const QCommandLineOption &doc, const QCommandLineOption &pdf,
                           const QCommandLineOption &passphraseFile, runtime::FontconfigWarmUp &fonts, QTextStream &err) const
    {
        if (parser.isSet(dispose) || parser.isSet(dryRun)) {
            if (!parser.isSet(dispose) || parser.isSet(letter) || parser.isSet(doc) || parser.isSet(pdf)
                || !parser.positionalArguments().isEmpty()) {
                err << "usage: tenvoria-render --dispose FOLDER [--dry-run] [--passphrase-file F]\n";
                return 2;
            }
            QTextStream out(stdout);
            return tools::runDisposal({parser.value(dispose), parser.isSet(dryRun), parser.value(passphraseFile)}, out, err);
        }
        if (parser.isSet(letter) || parser.isSet(applicant)) {
            if (!parser.isSet(letter) || !parser.isSet(applicant) || (!parser.isSet(doc) && !parser.isSet(pdf))
                || !parser.positionalArguments().isEmpty()) {
                err << "usage: tenvoria-render --letter approval|adverse-action|denial --applicant FILE "
                       "[--passphrase-file F] [--doc OUT.doc] [--pdf OUT.pdf]\n";
                return 2;
            }
            fonts.wait();
            return tools::runLetter({parser.value(letter), parser.value(applicant), parser.value(passphraseFile),
                                     parser.value(doc), parser.value(pdf)},
                                    err);
        }
        return std::nullopt;
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    runtime::useProgramFontConfiguration(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    runtime::FontconfigWarmUp fonts; // while Qt starts and the document is built
    QGuiApplication app(argc, argv); // fonts and painting; no widgets
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the rental application form of a record as a .doc and a page image."));
    parser.addHelpOption();
    const QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("Settings file to read the record from."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption doc(QStringLiteral("doc"), QStringLiteral("Where to write the Word document."),
                                 QStringLiteral("OUT.doc"));
    const QCommandLineOption image(QStringLiteral("image"), QStringLiteral("Where to write the page image (PNG)."),
                                   QStringLiteral("OUT.png"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Where to write the pages as PDF."),
                                 QStringLiteral("OUT.pdf"));
    const QCommandLineOption sample(QStringLiteral("sample"), QStringLiteral("Use the example record instead of settings."));
    const QCommandLineOption fillable(QStringLiteral("fillable-pdf"), QStringLiteral("Where to write the form as a fillable PDF."),
                                      QStringLiteral("OUT.pdf"));
    const QCommandLineOption blank(QStringLiteral("blank"), QStringLiteral("Leave the fillable PDF's fields blank."));
    const QCommandLineOption importPdf(QStringLiteral("import-pdf"), QStringLiteral("A filled fillable PDF to read the record from."),
                                       QStringLiteral("FILLED.pdf"));
    const QCommandLineOption recordOut(QStringLiteral("record-out"), QStringLiteral("Where to write the imported record (settings file)."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption saveApplicant(QStringLiteral("save-applicant"),
                                           QStringLiteral("Where to write the record as an applicant file."),
                                           QStringLiteral("OUT.tenvoria"));
    const QCommandLineOption passphraseFile(QStringLiteral("passphrase-file"),
                                            QStringLiteral("File holding the passphrase (- for standard input): locks "
                                                           "--save-applicant, opens a locked --settings."),
                                            QStringLiteral("FILE"));
    const QCommandLineOption compareFolder(QStringLiteral("compare"), QStringLiteral("Compare the applicant files of a folder."),
                                           QStringLiteral("FOLDER"));
    const QCommandLineOption rent(QStringLiteral("rent"), QStringLiteral("The unit's monthly rent, for --compare."), QStringLiteral("N"));
    const QCommandLineOption minimum(QStringLiteral("minimum"), QStringLiteral("The least income multiple (default 3), for --compare."),
                                     QStringLiteral("M"));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Where to write the comparison as CSV."), QStringLiteral("OUT.csv"));
    const QCommandLineOption formLanguage(QStringLiteral("form-language"),
                                          QStringLiteral("The form's language, en or es, for the form and the fillable PDF (default: the record's own, else en)."),
                                          QStringLiteral("LANG"));
    parser.addOptions({settings, sample, doc, image, pdf, fillable, blank, importPdf, recordOut, saveApplicant, passphraseFile,
                       compareFolder, rent, minimum, csv, formLanguage});
    const DecisionOptions decisionOptions;
    parser.addOptions(decisionOptions.all());
    parser.process(app);

    QTextStream err(stderr);
    // Checked before anything is read or written: a refused output leaves every file as it was.
    tools::RunFiles files = filesOf(parser, {doc, image, pdf, csv, fillable}, saveApplicant, recordOut, importPdf,
                                    passphraseFile, settings);
    if (parser.isSet(decisionOptions.applicant)) // a letter's applicant is read, never written over
        files.inputs << tools::NamedFile{QStringLiteral("--applicant"), parser.value(decisionOptions.applicant)};
    const QStringList refused = tools::refusedOutputs(files);
    if (!refused.isEmpty()) {
        sayProblems(err, refused);
        return 2;
    }
    if (const std::optional<int> code = decisionOptions.run(parser, doc, pdf, passphraseFile, fonts, err))
        return *code;
    if (parser.isSet(importPdf) || parser.isSet(recordOut)) {
        if (!parser.isSet(importPdf) || !parser.isSet(recordOut) || !parser.positionalArguments().isEmpty()) {
            err << "usage: tenvoria-render --import-pdf FILLED.pdf --record-out FILE\n";
            return 2;
        }
        const tools::ImportRun run = tools::importFilledPdf(parser.value(importPdf), parser.value(recordOut));
        QTextStream out(stdout);
        for (const QString &key : run.imported.taken)
            out << "taken: " << key << "\n";
        for (const pdfform::RefusedField &refused : run.imported.refused)
            err << "tenvoria-render: not taken: " << refused.name << ": " << refused.reason << "\n";
        for (const QString &problem : run.problems)
            err << "tenvoria-render: " << parser.value(importPdf) << ": " << problem << "\n";
        return run.problems.isEmpty() ? 0 : 1;
    }
    if (parser.isSet(compareFolder) || parser.isSet(csv) || parser.isSet(rent) || parser.isSet(minimum)) {
        const auto rentValue = compare::readRent(parser.value(rent));
        // The window's own reading of the minimum: two decimals at most, more than 0, at most 20.
        const compare::MinimumReading minimumValue =
            parser.isSet(minimum) ? compare::readMinimum(parser.value(minimum)) : compare::MinimumReading{3.0, {}};
        QStringList wrong;
        if (!parser.isSet(compareFolder))
            wrong << QStringLiteral("--compare FOLDER names the folder of applicant files to compare.");
        if (!parser.isSet(rent))
            wrong << QStringLiteral("--rent N is needed: the incomes are compared with the unit's monthly rent.");
        else if (!rentValue)
            wrong << QStringLiteral("--rent \"%1\" is not a monthly rent: give one amount above zero, such as 1450 or "
                                    "$1,450.")
                         .arg(parser.value(rent));
        if (!minimumValue.value)
            wrong << QStringLiteral("--minimum: %1.").arg(minimumValue.why);
        if (!parser.isSet(pdf) && !parser.isSet(csv))
            wrong << QStringLiteral("--compare writes nothing without --pdf OUT.pdf or --csv OUT.csv.");
        if (parser.isSet(doc) || parser.isSet(image))
            wrong << QStringLiteral("--doc and --image write a form, not a comparison.");
        if (!parser.positionalArguments().isEmpty())
            wrong << QStringLiteral("%1 is no option.").arg(parser.positionalArguments().constFirst());
        if (!wrong.isEmpty()) {
            sayProblems(err, wrong);
            err << "usage: tenvoria-render --compare FOLDER --rent N [--minimum M] [--pdf OUT.pdf] [--csv OUT.csv]\n";
            return 2;
        }
        const QStringList problems = tools::compareApplicants(parser.value(compareFolder), {*rentValue, *minimumValue.value},
                                                              parser.value(pdf), parser.value(csv));
        for (const QString &problem : problems)
            err << "tenvoria-render: " << problem << "\n";
        return problems.isEmpty() ? 0 : 1;
    }
    if (parser.isSet(settings) && parser.value(settings).isEmpty()) { // not the user's store in disguise
        sayProblems(err, {QStringLiteral("--settings names no file.")});
        return 2;
    }
    const std::optional<record::FormLanguage> language =
        parser.isSet(formLanguage) ? record::languageOfCode(parser.value(formLanguage)) : std::nullopt;
    if (parser.isSet(formLanguage) && !language) {
        sayProblems(err, {QStringLiteral("--form-language takes en or es, not %1.").arg(parser.value(formLanguage))});
        return 2;
    }
    const tools::RecordSource source{parser.value(settings), parser.isSet(sample),
                                     parser.isSet(passphraseFile)
                                         ? std::make_shared<tools::PassphraseFile>(parser.value(passphraseFile))
                                         : nullptr,
                                     language};
    if (parser.isSet(saveApplicant)) {
        if (!parser.positionalArguments().isEmpty() || parser.isSet(fillable) || parser.isSet(doc) || parser.isSet(pdf)
            || parser.isSet(image)) {
            err << "usage: tenvoria-render [--settings FILE | --sample] --save-applicant OUT.tenvoria [--passphrase-file F]\n";
            return 2;
        }
        const QStringList problems = tools::saveApplicant(source, parser.value(saveApplicant));
        sayProblems(err, problems);
        return problems.isEmpty() ? 0 : 1;
    }
    if (parser.isSet(fillable)) {
        if (!parser.positionalArguments().isEmpty() || (parser.isSet(blank) && (parser.isSet(settings) || parser.isSet(sample)))) {
            err << "usage: tenvoria-render [--settings FILE | --sample | --blank] --fillable-pdf OUT.pdf\n";
            return 2;
        }
        fonts.wait();
        const QStringList problems = tools::writeFillablePdf(source, parser.isSet(blank), parser.value(fillable));
        sayProblems(err, problems);
        if (problems.isEmpty() && !parser.isSet(doc) && !parser.isSet(pdf))
            return 0;
        if (!problems.isEmpty())
            return 1;
    }
    if ((!parser.isSet(doc) && !parser.isSet(pdf)) || !parser.positionalArguments().isEmpty()) {
        err << "usage: tenvoria-render [--settings FILE | --sample] [--doc OUT.doc] [--image OUT.png] [--pdf OUT.pdf]\n";
        return 2;
    }
    // The fonts the pages are drawn with (the font database filled, Tahoma registered) are made
    // ready on the second thread while this one reads the record and builds the form.
    std::optional<runtime::WarmUp> pageFonts;
    if (parser.isSet(image) || parser.isSet(pdf))
        pageFonts.emplace([&fonts] {
            fonts.wait();
            wordproc::fonts::ensureRegistered();
        });
    const tools::RenderResult result =
        tools::renderRecord(source, parser.value(doc), parser.value(image), parser.value(pdf), [&] {
            if (pageFonts)
                pageFonts->wait();
            fonts.wait();
        });
    sayProblems(err, result.problems);
    err.flush();
    // Every file is written, synced and renamed into place by now, and said problems are out: the
    // teardown of the fonts, the font database and the application would only delay the exit.
    std::fflush(nullptr);
    std::_Exit(result.problems.isEmpty() ? 0 : 1);
}
