#include "FilledForm.h"

#include "FillableForm.h"

#include "base/Failure.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <QSet>

#include <exception>
#include <set>

namespace pdfform {
namespace {

// More fields than this is no form of ours (it has 76) but a file made to keep us busy.
constexpr std::size_t kMaxFields = 10000;

QString notOurs()
{
    return QStringLiteral("The PDF is not a fillable form made by Tenvoria.");
}

bool hasMarker(QPDFObjectHandle dictionary)
{
    return dictionary.isDictionary() && dictionary.hasKey(kMarkerKey);
}

// A radio group's option: its value as a name, or as a string some fillers write; without one,
// the button that shows as on, which is what the applicant saw.
QString chosenWord(QPDFObjectHandle group, QPDFObjectHandle value)
{
    QString word;
    if (value.isName())
        word = QString::fromStdString(value.getName()).mid(1);
    else if (value.isString())
        word = QString::fromStdString(value.getUTF8Value());
    if (word.startsWith(QLatin1Char('/')))
        word.remove(0, 1);
    if (!word.isEmpty() && word != QLatin1String("Off"))
        return word;
    QPDFObjectHandle kids = group.getKey("/Kids");
    if (!kids.isArray())
        return word;
    for (int i = 0; i < kids.getArrayNItems() && i < 16; ++i) {
        QPDFObjectHandle state = kids.getArrayItem(i).getKey("/AS");
        if (state.isName() && state.getName() != "/Off")
            return QString::fromStdString(state.getName()).mid(1);
    }
    return word;
}

} // namespace

FilledValues readFilledForm(const QByteArray &bytes, const ExpectedFields &expected)
{
    if (bytes.size() > kMaxPdfBytes)
        throw base::Failure(QStringLiteral("The PDF is too large (more than %1 MB) to be a filled form.")
                                .arg(kMaxPdfBytes / (1024 * 1024)));
    if (!bytes.startsWith("%PDF-") && !bytes.left(1024).contains("%PDF-"))
        throw base::Failure(QStringLiteral("The file is not a PDF."));
    FilledValues result;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("filled form", bytes.constData(), std::size_t(bytes.size()));
        if (pdf.isEncrypted())
            throw base::Failure(QStringLiteral("The PDF is encrypted; save it without a password or restrictions and import it again."));
        QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
        if (!hasMarker(acroForm) && !hasMarker(pdf.getTrailer().getKey("/Info")))
            throw base::Failure(notOurs());
        QPDFAcroFormDocumentHelper form(pdf);
        const std::vector<QPDFFormFieldObjectHelper> fields = form.getFormFields();
        // A file that qpdf could only read by repairing it may hold anything where values belong.
        if (pdf.anyWarnings())
            throw base::Failure(QStringLiteral("The PDF is damaged: %1")
                                    .arg(QString::fromStdString(pdf.getWarnings().front().what())));
        if (fields.size() > kMaxFields)
            throw base::Failure(notOurs());

        const QSet<QString> texts(expected.texts.cbegin(), expected.texts.cend());
        QSet<QString> seen;
        std::set<QPDFObjGen> visited; // a radio group comes once for each of its buttons
        int known = 0;
        for (QPDFFormFieldObjectHelper terminal : fields) {
            // A widget without a name of its own is one button of the group above it.
            QPDFObjectHandle object = terminal.getObjectHandle();
            if (!object.hasKey("/T") && object.getKey("/Parent").isDictionary())
                object = object.getKey("/Parent");
            if (!visited.insert(object.getObjGen()).second)
                continue;
            QPDFFormFieldObjectHelper field(object);
            const QString name = QString::fromStdString(field.getFullyQualifiedName());
            auto refuse = [&](const QString &reason) { result.refused.push_back({name, reason}); };
            const ExpectedChoice *choice = nullptr;
            for (const ExpectedChoice &c : expected.choices)
                if (c.name == name)
                    choice = &c;
            if (!choice && !texts.contains(name)) {
                refuse(QStringLiteral("not a field of the record"));
                continue;
            }
            ++known;
            if (seen.contains(name)) {
                refuse(QStringLiteral("given more than once; the first was taken"));
                continue;
            }
            seen.insert(name);
            QPDFObjectHandle value = field.getValue();
            if (choice) {
                const QString word = chosenWord(object, value);
                if (word.isEmpty() || word == QLatin1String("Off")) {
                    refuse(QStringLiteral("no option was chosen"));
                } else if (!choice->words.contains(word)) {
                    refuse(QStringLiteral("\"%1\" is none of its options").arg(word.left(40)));
                } else {
                    result.values.insert(name, word);
                    result.taken << name;
                }
                continue;
            }
            if (field.getFieldType() != "/Tx") {
                refuse(QStringLiteral("not a text field"));
                continue;
            }
            QString text;
            if (value.isString())
                text = QString::fromStdString(value.getUTF8Value());
            else if (!value.isNull())
                refuse(QStringLiteral("its value is not text"));
            if (!value.isNull() && !value.isString())
                continue;
            if (text.size() > kMaxValueLength) {
                refuse(QStringLiteral("longer than %1 characters").arg(kMaxValueLength));
                continue;
            }
            result.values.insert(name, text);
            result.taken << name;
        }
        if (known == 0)
            throw base::Failure(notOurs());
    } catch (const base::Failure &) {
        throw;
    } catch (const std::exception &e) {
        throw base::Failure(QStringLiteral("The PDF is damaged: %1").arg(QString::fromStdString(e.what()).left(300)));
    }
    return result;
}

} // namespace pdfform
