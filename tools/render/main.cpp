// tenvoria-render [--settings FILE | --sample] [--form-language en|es] [--doc OUT.doc] [--image OUT.png] [--pdf OUT.pdf]
// tenvoria-render [--settings FILE | --sample | --blank] --fillable-pdf OUT.pdf
// tenvoria-render --import-pdf FILLED.pdf --record-out FILE
// tenvoria-render [--settings FILE | --sample] --save-applicant OUT.tenvoria [--passphrase-file F]
// (--passphrase-file F, or - for standard input, also opens a locked --settings FILE)
// tenvoria-render --compare FOLDER --rent N [--minimum M] [--pdf OUT.pdf] [--csv OUT.csv]
//
// Runs the form generator through the built-in engine on a record read from a settings file of
// the program's own format (the current user's store without --settings), and writes the
// document, its page image and its pages as PDF. For tests, interop checks and benchmarks.
#include "HeadlessRun.h"
#include "compare/IncomeReading.h"
#include "runtime/FontFaces.h"
#include "runtime/WarmUp.h"
#include "wordproc/layout/Fonts.h"


#include <QFileInfo>
#include <QGuiApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Each problem on a line of its own, its report's line ends made the terminal's.
void sayProblems(QTextStream &err, const QStringList &problems)
{
    for (const QString &problem : problems)
        err << "tenvoria-render: " << QString(problem).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
}

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
                                          QStringLiteral("The form's language: en (the default) or es, for the form and the fillable PDF."),
                                          QStringLiteral("LANG"));
    parser.addOptions({settings, sample, doc, image, pdf, fillable, blank, importPdf, recordOut, saveApplicant, passphraseFile,
                       compareFolder, rent, minimum, csv, formLanguage});
    parser.process(app);

    QTextStream err(stderr);
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
        bool minimumRead = true;
        const double minimumValue = parser.isSet(minimum) ? parser.value(minimum).toDouble(&minimumRead) : 3.0;
        if (!parser.isSet(compareFolder) || !rentValue || !minimumRead || !(minimumValue > 0)
            || (!parser.isSet(pdf) && !parser.isSet(csv)) || parser.isSet(doc) || parser.isSet(image)
            || !parser.positionalArguments().isEmpty()) {
            err << "usage: tenvoria-render --compare FOLDER --rent N [--minimum M] [--pdf OUT.pdf] [--csv OUT.csv]\n";
            return 2;
        }
        const QStringList problems = tools::compareApplicants(parser.value(compareFolder), {*rentValue, minimumValue},
                                                              parser.value(pdf), parser.value(csv));
        for (const QString &problem : problems)
            err << "tenvoria-render: " << problem << "\n";
        return problems.isEmpty() ? 0 : 1;
    }
    const std::optional<record::FormLanguage> language =
        parser.isSet(formLanguage) ? record::languageOfCode(parser.value(formLanguage)) : record::FormLanguage::English;
    if (!language) {
        err << "tenvoria-render: --form-language takes en or es, not " << parser.value(formLanguage) << "\n";
        return 2;
    }
    const tools::RecordSource source{parser.value(settings), parser.isSet(sample), parser.value(passphraseFile), *language};
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
