// The fillable PDF's AcroForm layer over pages the program drew, and its reading, with qpdf. The
// module and the programs that link qpdf share it; nothing here throws out of the table.
#include "LinkedFormLayer.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QSet>

#include <algorithm>
#include <exception>
#include <set>

namespace pdfform {
namespace {

using Handle = QPDFObjectHandle;

// A refusal with its reason for the person exporting or importing.
struct Refusal {
    QString reason;
};

// The resource name of the fields' font in /DR, /DA and the buttons' captions.
constexpr const char *kFontResource = "/Tah";

std::string utf8(const QString &text) { return text.toStdString(); }

QString number(double value) { return QString::number(value, 'f', 2); }

Handle rectangle(double left, double bottom, double right, double top)
{
    return Handle::newArray({Handle::newReal(left, 2), Handle::newReal(bottom, 2), Handle::newReal(right, 2),
                             Handle::newReal(top, 2)});
}

Handle rectangle(const LayerRect &rect) { return rectangle(rect.left, rect.bottom, rect.right, rect.top); }

// The map from codes (glyph indexes) back to characters, so that a reader can copy, search and
// read aloud what is typed, and can find the code for a character it is to draw.
QByteArray toUnicodeMap(const LayerFont &font)
{
    QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const auto hex4 = [](unsigned value) { return QByteArray::number(value, 16).rightJustified(4, '0').toUpper(); };
    for (std::size_t from = 0; from < font.unicodes.size(); from += 100) {
        const std::size_t count = std::min<std::size_t>(100, font.unicodes.size() - from);
        map += QByteArray::number(qulonglong(count)) + " beginbfchar\n";
        for (std::size_t i = from; i < from + count; ++i)
            map += '<' + hex4(font.unicodes[i].first) + "> <" + hex4(unsigned(font.unicodes[i].second)) + ">\n";
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

Handle embeddedFont(QPDF &pdf, const LayerFont &font)
{
    if (font.file.isEmpty() || font.widths.empty() || font.widths.size() > 0xFFFF)
        throw Refusal{QStringLiteral("The fields' font is missing.")};
    Handle widths = Handle::newArray();
    for (int width : font.widths)
        widths.appendItem(Handle::newInteger(width));
    Handle file = pdf.newStream(font.file.toStdString());
    file.getDict().replaceKey("/Length1", Handle::newInteger(font.file.size()));
    Handle descriptor = Handle::newDictionary();
    descriptor.replaceKey("/Type", Handle::newName("/FontDescriptor"));
    descriptor.replaceKey("/FontName", Handle::newName("/Tahoma"));
    descriptor.replaceKey("/Flags", Handle::newInteger(32)); // non-symbolic
    descriptor.replaceKey("/FontBBox", rectangle(-600, -font.descent - 100, font.widest + 600, font.ascent + 100));
    descriptor.replaceKey("/ItalicAngle", Handle::newInteger(0));
    descriptor.replaceKey("/Ascent", Handle::newInteger(font.ascent));
    descriptor.replaceKey("/Descent", Handle::newInteger(-font.descent));
    descriptor.replaceKey("/CapHeight", Handle::newInteger(font.capHeight));
    descriptor.replaceKey("/StemV", Handle::newInteger(80));
    descriptor.replaceKey("/FontFile2", file);

    Handle systemInfo = Handle::newDictionary();
    systemInfo.replaceKey("/Registry", Handle::newString("Adobe"));
    systemInfo.replaceKey("/Ordering", Handle::newString("Identity"));
    systemInfo.replaceKey("/Supplement", Handle::newInteger(0));
    Handle glyphs = Handle::newDictionary();
    glyphs.replaceKey("/Type", Handle::newName("/Font"));
    glyphs.replaceKey("/Subtype", Handle::newName("/CIDFontType2"));
    glyphs.replaceKey("/BaseFont", Handle::newName("/Tahoma"));
    glyphs.replaceKey("/CIDSystemInfo", systemInfo);
    glyphs.replaceKey("/FontDescriptor", pdf.makeIndirectObject(descriptor));
    glyphs.replaceKey("/W", Handle::newArray({Handle::newInteger(0), widths}));
    glyphs.replaceKey("/CIDToGIDMap", Handle::newName("/Identity"));

    Handle dict = Handle::newDictionary();
    dict.replaceKey("/Type", Handle::newName("/Font"));
    dict.replaceKey("/Subtype", Handle::newName("/Type0"));
    dict.replaceKey("/BaseFont", Handle::newName("/Tahoma"));
    dict.replaceKey("/Encoding", Handle::newName("/Identity-H"));
    dict.replaceKey("/DescendantFonts", Handle::newArray({pdf.makeIndirectObject(glyphs)}));
    dict.replaceKey("/ToUnicode", pdf.newStream(toUnicodeMap(font).toStdString()));
    return pdf.makeIndirectObject(dict);
}

QString circle(double cx, double cy, double r)
{
    const double k = 0.5523 * r;
    return QStringLiteral("%1 %2 m %3 %4 %5 %6 %7 %8 c %9 %10 %11 %12 %13 %14 c ")
               .arg(number(cx + r), number(cy), number(cx + r), number(cy + k), number(cx + k), number(cy + r))
               .arg(number(cx), number(cy + r), number(cx - k), number(cy + r), number(cx - r), number(cy + k))
               .arg(number(cx - r), number(cy))
        + QStringLiteral("%1 %2 %3 %4 %5 %6 c %7 %8 %9 %10 %11 %12 c h ")
              .arg(number(cx - r), number(cy - k), number(cx - k), number(cy - r), number(cx), number(cy - r))
              .arg(number(cx + k), number(cy - r), number(cx + r), number(cy - k), number(cx + r), number(cy));
}

Handle formXObject(QPDF &pdf, const QString &content, double width, double height, const Handle &resources)
{
    Handle stream = pdf.newStream(utf8(content));
    Handle dict = stream.getDict();
    dict.replaceKey("/Type", Handle::newName("/XObject"));
    dict.replaceKey("/Subtype", Handle::newName("/Form"));
    dict.replaceKey("/BBox", rectangle(0, 0, width, height));
    dict.replaceKey("/Resources", resources);
    return stream;
}

// A radio button's look, on or off: a ring centred in its square, and a dot when chosen.
Handle buttonLook(QPDF &pdf, double size, bool on)
{
    const double r = size * 0.42, c = size / 2;
    QString content = QStringLiteral("q 0 G 0.6 w ") + circle(c, c, r) + QStringLiteral("S Q");
    if (on)
        content += QStringLiteral(" q 0 g ") + circle(c, c, r * 0.5) + QStringLiteral("f Q");
    return formXObject(pdf, content, size, size, Handle::newDictionary());
}

Handle widgetBase(const LayerRect &rect, const Handle &page)
{
    Handle widget = Handle::newDictionary();
    widget.replaceKey("/Type", Handle::newName("/Annot"));
    widget.replaceKey("/Subtype", Handle::newName("/Widget"));
    widget.replaceKey("/Rect", rectangle(rect));
    widget.replaceKey("/F", Handle::newInteger(4)); // printed
    widget.replaceKey("/P", page);
    return widget;
}

QByteArray withFields(const LayerPlan &plan)
{
    QPDF pdf;
    pdf.processMemoryFile("form", plan.pages.constData(), std::size_t(plan.pages.size()));
    std::vector<QPDFPageObjectHelper> pageList = QPDFPageDocumentHelper(pdf).getAllPages();
    QPDF valuePdf;
    std::vector<QPDFPageObjectHelper> valuePageList;
    if (!plan.valueLooks.isEmpty()) {
        valuePdf.processMemoryFile("values", plan.valueLooks.constData(), std::size_t(plan.valueLooks.size()));
        valuePageList = QPDFPageDocumentHelper(valuePdf).getAllPages();
    }
    if (valuePageList.size() != std::size_t(plan.valueLookCount))
        throw Refusal{QStringLiteral("The fields' values could not be drawn.")};

    const Handle font = embeddedFont(pdf, plan.font);
    Handle fonts = Handle::newDictionary();
    fonts.replaceKey(kFontResource, font);
    Handle resources = Handle::newDictionary();
    resources.replaceKey("/Font", fonts);
    resources = pdf.makeIndirectObject(resources);

    Handle fields = Handle::newArray();
    auto pageOf = [&pageList](int page) {
        if (page < 0 || std::size_t(page) >= pageList.size())
            throw Refusal{QStringLiteral("A field of the fillable PDF falls outside the pages.")};
        return pageList[std::size_t(page)].getObjectHandle();
    };
    auto annotate = [](Handle page, const Handle &widget) {
        Handle annots = page.getKey("/Annots");
        if (!annots.isArray()) {
            annots = Handle::newArray();
            page.replaceKey("/Annots", annots);
        }
        annots.appendItem(widget);
    };

    for (const LayerTextField &text : plan.texts) {
        const Handle page = pageOf(text.page);
        const double width = text.rect.right - text.rect.left, height = text.rect.top - text.rect.bottom;
        Handle field = widgetBase(text.rect, page);
        field.replaceKey("/FT", Handle::newName("/Tx"));
        field.replaceKey("/T", Handle::newUnicodeString(utf8(text.name)));
        if (!text.tooltip.isEmpty())
            field.replaceKey("/TU", Handle::newUnicodeString(utf8(text.tooltip)));
        field.replaceKey("/V", Handle::newUnicodeString(utf8(text.value)));
        field.replaceKey("/DA", Handle::newString(utf8(
                                    QStringLiteral("%1 %2 Tf 0 g").arg(QLatin1String(kFontResource), number(text.fontSize)))));
        field.replaceKey("/Q", Handle::newInteger(0));
        field.replaceKey("/MK", Handle::newDictionary());
        Handle look;
        if (text.look < 0) {
            look = formXObject(pdf, QStringLiteral("/Tx BMC EMC"), width, height, resources);
        } else {
            if (std::size_t(text.look) >= valuePageList.size())
                throw Refusal{QStringLiteral("The fields' values could not be drawn.")};
            look = pdf.copyForeignObject(valuePageList[std::size_t(text.look)].getFormXObjectForPage());
            look.getDict().replaceKey("/BBox", rectangle(0, 0, width, height));
            look.getDict().removeKey("/Matrix");
        }
        Handle appearance = Handle::newDictionary();
        appearance.replaceKey("/N", look);
        field.replaceKey("/AP", appearance);
        field = pdf.makeIndirectObject(field);
        fields.appendItem(field);
        annotate(page, field);
    }

    for (const LayerChoice &choice : plan.choices) {
        const Handle page = pageOf(choice.page);
        Handle group = Handle::newDictionary();
        group.replaceKey("/FT", Handle::newName("/Btn"));
        group.replaceKey("/Ff", Handle::newInteger((1 << 15) | (1 << 14))); // radio, no toggling off
        group.replaceKey("/T", Handle::newUnicodeString(utf8(choice.name)));
        if (!choice.tooltip.isEmpty())
            group.replaceKey("/TU", Handle::newUnicodeString(utf8(choice.tooltip)));
        group.replaceKey("/V", Handle::newName(choice.value.isEmpty() ? "/Off" : "/" + utf8(choice.value)));
        group = pdf.makeIndirectObject(group);
        Handle kids = Handle::newArray();
        for (const LayerButton &button : choice.buttons) {
            const double size = button.rect.top - button.rect.bottom;
            Handle widget = widgetBase(button.rect, page);
            widget.replaceKey("/Parent", group);
            const std::string on = "/" + utf8(button.word);
            widget.replaceKey("/AS", Handle::newName(button.word == choice.value ? on : "/Off"));
            Handle looks = Handle::newDictionary();
            looks.replaceKey(on, buttonLook(pdf, size, true));
            looks.replaceKey("/Off", buttonLook(pdf, size, false));
            Handle appearance = Handle::newDictionary();
            appearance.replaceKey("/N", looks);
            widget.replaceKey("/AP", appearance);
            Handle mk = Handle::newDictionary();
            // For viewers that draw the buttons themselves: a black ring, the dingbat dot.
            mk.replaceKey("/CA", Handle::newString("l"));
            mk.replaceKey("/BC", Handle::newArray({Handle::newInteger(0)}));
            widget.replaceKey("/MK", mk);
            widget.replaceKey("/BS", Handle::parse("<< /W 1 /S /S >>"));
            widget.replaceKey("/DA", Handle::newString("/ZaDb 0 Tf 0 g"));
            widget = pdf.makeIndirectObject(widget);
            kids.appendItem(widget);
            annotate(page, widget);
        }
        group.replaceKey("/Kids", kids);
        fields.appendItem(group);
    }

    Handle acroForm = Handle::newDictionary();
    acroForm.replaceKey("/Fields", fields);
    acroForm.replaceKey("/DR", resources);
    acroForm.replaceKey("/DA", Handle::newString(utf8(QStringLiteral("%1 9 Tf 0 g").arg(QLatin1String(kFontResource)))));
    acroForm.replaceKey(kMarkerKey, Handle::newInteger(1));
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(acroForm));
    // Screen readers speak the form in its language, and Tab goes through the fields row by row.
    pdf.getRoot().replaceKey("/Lang", Handle::newUnicodeString(utf8(plan.language)));
    for (QPDFPageObjectHelper &page : pageList)
        page.getObjectHandle().replaceKey("/Tabs", Handle::newName("/R"));
    Handle info = pdf.getTrailer().getKey("/Info");
    if (info.isDictionary())
        info.replaceKey(kMarkerKey, Handle::newString("1"));

    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setDeterministicID(true);
    writer.write();
    const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), qsizetype(out->getSize()));
}

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

FilledValues filledValues(const QByteArray &bytes, const ExpectedFields &expected)
{
    FilledValues result;
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile("filled form", bytes.constData(), std::size_t(bytes.size()));
    if (pdf.isEncrypted())
        throw Refusal{QStringLiteral("The PDF is encrypted; save it without a password or restrictions and import it again.")};
    QPDFObjectHandle acroForm = pdf.getRoot().getKey("/AcroForm");
    if (!hasMarker(acroForm) && !hasMarker(pdf.getTrailer().getKey("/Info")))
        throw Refusal{notOurs()};
    QPDFAcroFormDocumentHelper form(pdf);
    const std::vector<QPDFFormFieldObjectHelper> fields = form.getFormFields();
    // A file that qpdf could only read by repairing it may hold anything where values belong.
    if (pdf.anyWarnings())
        throw Refusal{QStringLiteral("The PDF is damaged: %1").arg(QString::fromStdString(pdf.getWarnings().front().what()))};
    if (fields.size() > kMaxFields)
        throw Refusal{notOurs()};

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
        throw Refusal{notOurs()};
    return result;
}

bool addFields(const LayerPlan &plan, QByteArray &out, QString &error) noexcept
{
    try {
        out = withFields(plan);
        return true;
    } catch (const Refusal &refusal) {
        error = refusal.reason;
    } catch (const std::exception &e) {
        error = QStringLiteral("The fillable PDF could not be produced: %1").arg(QString::fromStdString(e.what()));
    } catch (...) {
        error = QStringLiteral("The fillable PDF could not be produced.");
    }
    return false;
}

bool readFields(const QByteArray &pdf, const ExpectedFields &expected, FilledValues &out, QString &error) noexcept
{
    try {
        out = filledValues(pdf, expected);
        return true;
    } catch (const Refusal &refusal) {
        error = refusal.reason;
    } catch (const QPDFExc &e) {
        // A password to open it is no damage: the applicant can save it without one.
        error = e.getErrorCode() == qpdf_e_password
            ? QStringLiteral("The PDF is locked with a password; save it without a password and import it again.")
            : QStringLiteral("The PDF is damaged: %1").arg(QString::fromStdString(e.what()).left(300));
    } catch (const std::exception &e) {
        error = QStringLiteral("The PDF is damaged: %1").arg(QString::fromStdString(e.what()).left(300));
    } catch (...) {
        error = QStringLiteral("The PDF is damaged.");
    }
    return false;
}

} // namespace

const FormLayer &linkedFormLayer()
{
    static const FormLayer layer{kFormLayerVersion, &addFields, &readFields};
    return layer;
}

} // namespace pdfform
