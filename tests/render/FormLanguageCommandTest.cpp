// The form in Spanish as tenvoria-render writes it, read by other people's readers: catdoc for the
// Word file, Poppler's tools for the PDF, Poppler itself filling the fillable PDF, which the import
// then takes back into the very record it was made from.
#include "TestFiles.h"
#include "record/ApplicantFile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};

Ran run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        ADD_FAILURE() << program.toStdString() << " could not be started (tools/install-deps.sh installs it)";
        return {};
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Ran render(const QStringList &arguments) { return run(QStringLiteral(TENVORIA_RENDER), arguments); }

// What a Spanish-speaking applicant reads on the form: every label, heading and choice word, written
// out here on their own so that a text lost from the program's table, or left in English, shows.
const char *const kSpanishTexts[] = {
    "Solicitud de arrendamiento", "Información del solicitante", "Información de empleo", "Contacto de emergencia",
    "Información del cosolicitante, si está casado(a)", "Información de empleo del cosolicitante", "Referencias",
    "Nombre:", "Fecha de nacimiento:", "Número de Seguro Social:", "Teléfono:", "Dirección actual:",
    "Dirección anterior:", "Ciudad:", "Estado:", "Código postal:", "Vivienda: Alquilada", "Pago mensual o alquiler:",
    "¿Cuánto tiempo?", "Empleador actual:", "Dirección del empleador:", "Correo electrónico:", "Fax:", "Puesto:",
    "Tipo de pago: Por hora", "Ingreso anual:", "Nombre de una persona que no viva con usted:", "Dirección:",
    "Parentesco:", "Autorizo la verificación de la información proporcionada", "He recibido una copia de esta solicitud.",
    "Firma del solicitante:", "Firma del cosolicitante:", "Fecha:"};
// English words that no Spanish form may keep.
const char *const kEnglishTexts[] = {"Rental Application", "Applicant Information", "Date of birth", "Zip Code",
                                     "Current employer", "Annual Income", "House:", "Hourly", "Signature of", "References"};

TEST(FormLanguageCommand, TheSpanishFormIsInSpanishThroughoutAndFitsItsPage)
{
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("es.doc")), pdf = dir.filePath(QStringLiteral("es.pdf"));
    const Ran made = render({QStringLiteral("--sample"), QStringLiteral("--form-language"), QStringLiteral("es"),
                             QStringLiteral("--doc"), doc, QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();

    // catdoc puts a tab between a row's cells and, with -w, keeps each paragraph on one line.
    const QString text = QString::fromUtf8(run(QStringLiteral("catdoc"), {QStringLiteral("-w"), QStringLiteral("-d"), QStringLiteral("utf-8"), doc}).out);
    for (const char *spanish : kSpanishTexts)
        EXPECT_TRUE(text.contains(QString::fromUtf8(spanish))) << spanish << " is missing from the Word file";
    for (const char *english : kEnglishTexts)
        EXPECT_FALSE(text.contains(QString::fromUtf8(english))) << english << " is left in English";
    EXPECT_TRUE(text.contains(QStringLiteral("Dorian Pellwick Jr."))); // the values are the record's, as typed

    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}).out);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Solicitud de arrendamiento"))) << info.toStdString();
    // The last row of the table still on the page: nothing pushed off its foot.
    const QString pages = QString::fromUtf8(run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out);
    EXPECT_TRUE(pages.contains(QStringLiteral("Firma del cosolicitante:"))) << pages.toStdString();

    // English stays the default, and naming it changes nothing.
    const QString plain = dir.filePath(QStringLiteral("plain.doc")), named = dir.filePath(QStringLiteral("en.doc"));
    ASSERT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--doc"), plain}).exitCode, 0);
    ASSERT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--form-language"), QStringLiteral("EN"), QStringLiteral("--doc"), named})
                  .exitCode,
              0);
    // The same document: the same size and the same text (the file records when it was saved, which
    // two runs a second apart do not share).
    EXPECT_EQ(testsupport::readTestFile(plain).size(), testsupport::readTestFile(named).size());
    const auto textOf = [](const QString &doc) {
        return run(QStringLiteral("catdoc"), {QStringLiteral("-w"), QStringLiteral("-d"), QStringLiteral("utf-8"), doc}).out;
    };
    EXPECT_EQ(textOf(plain), textOf(named));
    EXPECT_TRUE(textOf(plain).contains(QByteArray("Rental Application")));

    const Ran unknown = render({QStringLiteral("--sample"), QStringLiteral("--form-language"), QStringLiteral("fr"),
                                QStringLiteral("--doc"), dir.filePath(QStringLiteral("fr.doc"))});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("en or es")) << unknown.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("fr.doc"))));
}

TEST(FormLanguageCommand, ASpanishFillablePdfFilledByPopplerComesBackAsTheSameRecord)
{
    QTemporaryDir dir;
    const QString blank = dir.filePath(QStringLiteral("es.pdf"));
    ASSERT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--form-language"), QStringLiteral("es"),
                      QStringLiteral("--fillable-pdf"), blank})
                  .exitCode,
              0);
    // Screen readers speak it in Spanish; its buttons carry Spanish words on the page.
    const QString objects = QString::fromLatin1(
        run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), blank, QStringLiteral("-")}).out);
    EXPECT_TRUE(objects.contains(QStringLiteral("/Lang (es-US)"))) << "the catalogue's language is not Spanish";
    const QString shown = QString::fromUtf8(run(QStringLiteral("pdftotext"), {blank, QStringLiteral("-")}).out);
    for (const char *words : {"Propia", "Alquilada", "Por hora", "Salario", "Número de Seguro Social"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(words))) << words;

    // Poppler, as Evince and Okular fill it, in a script of its own.
    const QString filled = dir.filePath(QStringLiteral("filled.pdf"));
    const Ran fill = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TENVORIA_POPPLER_FILL), blank, filled,
                                                              QStringLiteral("App Info Name=José Núñez Ibáñez"),
                                                              QStringLiteral("App Info SSN=078-05-1120")});
    ASSERT_EQ(fill.exitCode, 0) << fill.err.toStdString();
    const QString imported = dir.filePath(QStringLiteral("imported.conf"));
    const Ran taken = render({QStringLiteral("--import-pdf"), filled, QStringLiteral("--record-out"), imported});
    ASSERT_EQ(taken.exitCode, 0) << taken.err.toStdString();

    // The sample record as an applicant file, with the two values the applicant typed.
    const QString sample = dir.filePath(QStringLiteral("sample.tenvoria"));
    ASSERT_EQ(render({QStringLiteral("--sample"), QStringLiteral("--save-applicant"), sample}).exitCode, 0);
    QMap<QString, QString> expected = record::readApplicantFile(sample);
    expected.insert(QStringLiteral("App Info Name"), QStringLiteral("José Núñez Ibáñez"));
    expected.insert(QStringLiteral("App Info SSN"), QStringLiteral("078-05-1120"));
    const QMap<QString, QString> back = record::readApplicantFile(imported);
    for (auto it = back.cbegin(); it != back.cend(); ++it)
        EXPECT_EQ(it.value().toStdString(), expected.value(it.key()).toStdString()) << it.key().toStdString();
    // The choices come back as the record's own words, whatever the page printed beside them.
    EXPECT_EQ(back.value(QStringLiteral("App Info Current House")), QStringLiteral("Rent"));
    EXPECT_EQ(back.value(QStringLiteral("App Info Emp Info Salary")), QStringLiteral("Hourly"));
    EXPECT_GE(back.size(), 60);
}

} // namespace
