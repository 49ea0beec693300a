#include "FillableForm.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/PrintedPages.h"

#include "base/Failure.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <algorithm>
#include <map>
#include <tuple>

namespace pdfform {
namespace {

using Handle = QPDFObjectHandle;

// The resource name of the fields' font in /DR, /DA and the buttons' captions.
constexpr const char *kFontResource = "/Tah";
// The room a radio button takes before its word: four spaces of the cell's font.
const QString kButtonGap = QStringLiteral("    ");

std::string utf8(const QString &text) { return text.toStdString(); }

QString number(double value) { return QString::number(value, 'f', 2); }

Handle rectangle(double left, double bottom, double right, double top)
{
    return Handle::newArray({Handle::newReal(left, 2), Handle::newReal(bottom, 2), Handle::newReal(right, 2),
                             Handle::newReal(top, 2)});
}

// Where distributions put Wine's Tahoma, the layout's font (see wordproc/layout/Fonts).
QByteArray tahomaBytes()
{
    for (const char *folder : {"/usr/share/wine/fonts", "/usr/share/fonts/wine"}) {
        QFile file(QString::fromLatin1(folder) + QStringLiteral("/tahoma.ttf"));
        if (file.open(QIODevice::ReadOnly)) {
            QByteArray bytes = file.readAll();
            if (!bytes.isEmpty())
                return bytes;
        }
    }
    throw base::Failure(QStringLiteral("The fillable PDF needs the Tahoma font, which was not found."));
}

// Tahoma embedded whole (not a subset) with WinAnsiEncoding, so that a viewer can draw whatever
// the applicant types in Western scripts with the form's own font; what the encoding cannot hold
// viewers draw with a font of their own.
Handle embeddedTahoma(QPDF &pdf)
{
    const QByteArray bytes = tahomaBytes();
    QRawFont font;
    font.loadFromData(bytes, 1000, QFont::PreferNoHinting);
    if (!font.isValid())
        throw base::Failure(QStringLiteral("The Tahoma font could not be read for the fillable PDF."));
    // WinAnsiEncoding's codes 128 to 159; 0 where it has none.
    static constexpr char16_t kWinAnsiHigh[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    Handle widths = Handle::newArray();
    double widest = 0;
    for (int code = 32; code <= 255; ++code) {
        const char16_t unicode = code >= 128 && code < 160 ? kWinAnsiHigh[code - 128] : char16_t(code);
        double width = 0;
        if (unicode != 0) {
            const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(unicode)));
            if (!glyphs.isEmpty() && glyphs.front() != 0)
                width = font.advancesForGlyphIndexes(glyphs).front().x();
        }
        widest = std::max(widest, width);
        widths.appendItem(Handle::newInteger(qRound(width)));
    }
    Handle file = pdf.newStream(bytes.toStdString());
    file.getDict().replaceKey("/Length1", Handle::newInteger(bytes.size()));
    Handle descriptor = Handle::newDictionary();
    descriptor.replaceKey("/Type", Handle::newName("/FontDescriptor"));
    descriptor.replaceKey("/FontName", Handle::newName("/Tahoma"));
    descriptor.replaceKey("/Flags", Handle::newInteger(32)); // non-symbolic
    descriptor.replaceKey("/FontBBox", rectangle(-600, -font.descent() - 100, widest + 600, font.ascent() + 100));
    descriptor.replaceKey("/ItalicAngle", Handle::newInteger(0));
    descriptor.replaceKey("/Ascent", Handle::newInteger(qRound(font.ascent())));
    descriptor.replaceKey("/Descent", Handle::newInteger(-qRound(font.descent())));
    descriptor.replaceKey("/CapHeight", Handle::newInteger(qRound(font.capHeight())));
    descriptor.replaceKey("/StemV", Handle::newInteger(80));
    descriptor.replaceKey("/FontFile2", file);
    Handle dict = Handle::newDictionary();
    dict.replaceKey("/Type", Handle::newName("/Font"));
    dict.replaceKey("/Subtype", Handle::newName("/TrueType"));
    dict.replaceKey("/BaseFont", Handle::newName("/Tahoma"));
    dict.replaceKey("/FirstChar", Handle::newInteger(32));
    dict.replaceKey("/LastChar", Handle::newInteger(255));
    dict.replaceKey("/Widths", widths);
    dict.replaceKey("/Encoding", Handle::newName("/WinAnsiEncoding"));
    dict.replaceKey("/FontDescriptor", pdf.makeIndirectObject(descriptor));
    return pdf.makeIndirectObject(dict);
}

// A field's place in PDF points (y up from the page's foot) and how its text sits in it.
struct FieldBox {
    int page = 0;
    double left = 0, bottom = 0, right = 0, top = 0;
    double baseline = 0; // from the box's foot
    double fontSize = 9;
    wordproc::CharFormat format;
    QString label;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// The planned cell in the document's body (const or not); a plan that names no cell is a fault.
template <typename DocumentType>
auto &modelCell(DocumentType &document, const CellRef &at)
{
    auto *table = at.block < document.body.size() ? std::get_if<wordproc::Table>(&document.body[at.block]) : nullptr;
    if (!table || at.row < 0 || std::size_t(at.row) >= table->rows.size() || at.cell < 0
        || std::size_t(at.cell) >= table->rows[std::size_t(at.row)].cells.size())
        throw base::Failure(QStringLiteral("A field of the fillable PDF has no cell on the form."));
    return table->rows[std::size_t(at.row)].cells[std::size_t(at.cell)];
}

class Placer {
public:
    explicit Placer(const wordproc::Document &document) : m_document(document)
    {
        for (wordproc::PrintedCell &cell : wordproc::printedCells(document))
            m_cells.emplace(std::make_tuple(cell.block, cell.row, cell.cell), std::move(cell));
    }

    const wordproc::Cell &cellOf(const CellRef &at) const { return modelCell(m_document, at); }

    // Where character `offset` of the cell's first line starts on the page, in points.
    double pointsAt(const CellRef &at, int offset) const
    {
        const auto found = m_cells.find(std::make_tuple(at.block, at.row, at.cell));
        if (found == m_cells.end() || !found->second.firstLine.text)
            throw base::Failure(QStringLiteral("A field of the fillable PDF has no cell on the pages."));
        return wordproc::caretX(found->second.firstLine, offset) / 20.0;
    }

    FieldBox place(const CellRef &at) const
    {
        const wordproc::Cell &model = cellOf(at);
        const auto found = m_cells.find(std::make_tuple(at.block, at.row, at.cell));
        if (found == m_cells.end())
            throw base::Failure(QStringLiteral("A field of the fillable PDF has no cell on the pages."));
        const wordproc::PrintedCell &cell = found->second;
        const double pageHeight = m_document.page.pageHeight / 20.0;
        FieldBox box;
        box.page = cell.page;
        const wordproc::Paragraph &paragraph = model.paragraphs.front();
        if (!paragraph.runs.empty())
            box.format = paragraph.runs.front().format;
        box.fontSize = box.format.halfPoints / 2.0;
        box.label = paragraph.text().left(at.labelLength).trimmed();
        if (box.label.endsWith(QLatin1Char(':')))
            box.label.chop(1);
        const double start = cell.firstLine.text ? wordproc::caretX(cell.firstLine, at.labelLength) : cell.area.left();
        box.left = std::clamp(start, cell.area.left(), cell.area.right()) / 20.0;
        box.right = cell.area.right() / 20.0;
        box.top = pageHeight - cell.area.top() / 20.0;
        box.bottom = pageHeight - cell.area.bottom() / 20.0;
        const double baseline = cell.firstLine.text ? cell.firstLine.top + cell.firstLine.baseline
                                                    : cell.area.top() + box.fontSize * 20;
        box.baseline = std::clamp(pageHeight - baseline / 20.0 - box.bottom, 0.0, box.height());
        return box;
    }

private:
    const wordproc::Document &m_document;
    std::map<std::tuple<std::size_t, int, int>, wordproc::PrintedCell> m_cells;
};

// The values as the form draws text, each on a page of its field's size: the same shaping and
// font fallback as the printed pages, fonts embedded as subsets. These pages become the fields'
// appearances, so a value in any script shows even where a viewer does not draw fields itself.
QByteArray valuePages(const std::vector<std::pair<FieldBox, QString>> &values)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1440);
        auto setPaper = [&writer](const FieldBox &box) {
            const double w = std::max(box.width(), 1.0), h = std::max(box.height(), 1.0);
            const QPageSize size(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Point, QString(), QPageSize::ExactMatch);
            return writer.setPageLayout(QPageLayout(size, w > h ? QPageLayout::Landscape : QPageLayout::Portrait,
                                                    QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        };
        setPaper(values.front().first);
        QPainter painter;
        if (!painter.begin(&writer))
            throw base::Failure(QStringLiteral("The fields' values could not be drawn."));
        for (std::size_t i = 0; i < values.size(); ++i) {
            const FieldBox &box = values[i].first;
            if (i > 0) {
                setPaper(box);
                if (!writer.newPage())
                    throw base::Failure(QStringLiteral("The fields' values could not be drawn."));
            }
            painter.save();
            painter.setClipRect(QRectF(0, 0, box.width() * 20, box.height() * 20));
            painter.setFont(wordproc::fonts::layoutFont(box.format));
            painter.setPen(Qt::black);
            painter.drawText(QPointF(0, (box.height() - box.baseline) * 20), values[i].second);
            painter.restore();
        }
        if (!painter.end())
            throw base::Failure(QStringLiteral("The fields' values could not be drawn."));
    }
    return buffer.data();
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

Handle widgetBase(const FieldBox &box, double left, double right, const Handle &page)
{
    Handle widget = Handle::newDictionary();
    widget.replaceKey("/Type", Handle::newName("/Annot"));
    widget.replaceKey("/Subtype", Handle::newName("/Widget"));
    widget.replaceKey("/Rect", rectangle(left, box.bottom, right, box.top));
    widget.replaceKey("/F", Handle::newInteger(4)); // printed
    widget.replaceKey("/P", page);
    return widget;
}

void truncateParagraph(wordproc::Paragraph &paragraph, int length)
{
    int kept = 0;
    std::vector<wordproc::Run> runs;
    for (wordproc::Run &run : paragraph.runs) {
        if (kept >= length)
            break;
        run.text.truncate(length - kept);
        kept += int(run.text.size());
        runs.push_back(std::move(run));
    }
    paragraph.runs = std::move(runs);
}

} // namespace

QByteArray fillablePdf(wordproc::Document document, const FormPlan &plan, const QString &title)
{
    // A choice's cell shows both words, each after a gap that its button fills: the words stay
    // text of the page, so they print, copy and read even where a viewer redraws the buttons.
    for (const ChoicePlan &choice : plan.choices) {
        wordproc::Cell &cell = modelCell(document, choice.at);
        cell.paragraphs.resize(1);
        wordproc::Paragraph &paragraph = cell.paragraphs.front();
        truncateParagraph(paragraph, choice.at.labelLength);
        if (paragraph.runs.empty())
            paragraph.runs.push_back({});
        paragraph.runs.back().text += kButtonGap + choice.firstWord + kButtonGap + kButtonGap + choice.secondWord;
    }
    const QByteArray pages = wordproc::pdfOf(document, title);
    const Placer placer(document);

    std::vector<std::pair<FieldBox, QString>> drawnValues;
    std::vector<FieldBox> textBoxes;
    for (const TextFieldPlan &text : plan.texts) {
        textBoxes.push_back(placer.place(text.at));
        if (!text.value.isEmpty())
            drawnValues.emplace_back(textBoxes.back(), text.value);
    }
    const QByteArray valueBytes = drawnValues.empty() ? QByteArray() : valuePages(drawnValues);

    try {
        QPDF pdf;
        pdf.processMemoryFile("form", pages.constData(), std::size_t(pages.size()));
        std::vector<QPDFPageObjectHelper> pageList = QPDFPageDocumentHelper(pdf).getAllPages();
        QPDF valuePdf;
        std::vector<QPDFPageObjectHelper> valuePageList;
        if (!valueBytes.isEmpty()) {
            valuePdf.processMemoryFile("values", valueBytes.constData(), std::size_t(valueBytes.size()));
            valuePageList = QPDFPageDocumentHelper(valuePdf).getAllPages();
            if (valuePageList.size() != drawnValues.size())
                throw base::Failure(QStringLiteral("The fields' values could not be drawn."));
        }

        const Handle font = embeddedTahoma(pdf);
        Handle fonts = Handle::newDictionary();
        fonts.replaceKey(kFontResource, font);
        Handle resources = Handle::newDictionary();
        resources.replaceKey("/Font", fonts);
        resources = pdf.makeIndirectObject(resources);

        Handle fields = Handle::newArray();
        auto pageOf = [&pageList](const FieldBox &box) {
            if (box.page < 0 || std::size_t(box.page) >= pageList.size())
                throw base::Failure(QStringLiteral("A field of the fillable PDF falls outside the pages."));
            return pageList[std::size_t(box.page)].getObjectHandle();
        };
        auto annotate = [](Handle page, const Handle &widget) {
            Handle annots = page.getKey("/Annots");
            if (!annots.isArray()) {
                annots = Handle::newArray();
                page.replaceKey("/Annots", annots);
            }
            annots.appendItem(widget);
        };
        auto da = [](const FieldBox &box) {
            return Handle::newString(utf8(QStringLiteral("%1 %2 Tf 0 g").arg(QLatin1String(kFontResource), number(box.fontSize))));
        };

        std::size_t drawn = 0;
        for (std::size_t i = 0; i < plan.texts.size(); ++i) {
            const TextFieldPlan &text = plan.texts[i];
            const FieldBox &box = textBoxes[i];
            const Handle page = pageOf(box);
            Handle field = widgetBase(box, box.left, box.right, page);
            field.replaceKey("/FT", Handle::newName("/Tx"));
            field.replaceKey("/T", Handle::newUnicodeString(utf8(text.name)));
            if (!box.label.isEmpty())
                field.replaceKey("/TU", Handle::newUnicodeString(utf8(box.label)));
            field.replaceKey("/V", Handle::newUnicodeString(utf8(text.value)));
            field.replaceKey("/DA", da(box));
            field.replaceKey("/Q", Handle::newInteger(0));
            field.replaceKey("/MK", Handle::newDictionary());
            Handle look;
            if (text.value.isEmpty()) {
                look = formXObject(pdf, QStringLiteral("/Tx BMC EMC"), box.width(), box.height(), resources);
            } else {
                look = pdf.copyForeignObject(valuePageList[drawn++].getFormXObjectForPage());
                look.getDict().replaceKey("/BBox", rectangle(0, 0, box.width(), box.height()));
                look.getDict().removeKey("/Matrix");
            }
            Handle appearance = Handle::newDictionary();
            appearance.replaceKey("/N", look);
            field.replaceKey("/AP", appearance);
            field = pdf.makeIndirectObject(field);
            fields.appendItem(field);
            annotate(page, field);
        }

        for (const ChoicePlan &choice : plan.choices) {
            const FieldBox box = placer.place(choice.at);
            const Handle page = pageOf(box);
            Handle group = Handle::newDictionary();
            group.replaceKey("/FT", Handle::newName("/Btn"));
            group.replaceKey("/Ff", Handle::newInteger((1 << 15) | (1 << 14))); // radio, no toggling off
            group.replaceKey("/T", Handle::newUnicodeString(utf8(choice.name)));
            if (!box.label.isEmpty())
                group.replaceKey("/TU", Handle::newUnicodeString(utf8(box.label)));
            group.replaceKey("/V", Handle::newName(choice.value.isEmpty() ? "/Off" : "/" + utf8(choice.value)));
            group = pdf.makeIndirectObject(group);
            Handle kids = Handle::newArray();
            const QString words[2] = {choice.firstWord, choice.secondWord};
            // Each button a square of the font's size, ending a little before its word and
            // standing on the line as the word's letters do.
            const double size = box.fontSize;
            const int gap = int(kButtonGap.size());
            const int wordAt[2] = {choice.at.labelLength + gap,
                                   choice.at.labelLength + 3 * gap + int(choice.firstWord.size())};
            for (int k = 0; k < 2; ++k) {
                const double right = placer.pointsAt(choice.at, wordAt[k]) - size * 0.15;
                const double bottom = box.bottom + box.baseline - size * 0.12;
                Handle widget = Handle::newDictionary();
                widget.replaceKey("/Type", Handle::newName("/Annot"));
                widget.replaceKey("/Subtype", Handle::newName("/Widget"));
                widget.replaceKey("/Rect", rectangle(right - size, bottom, right, bottom + size));
                widget.replaceKey("/F", Handle::newInteger(4));
                widget.replaceKey("/P", page);
                widget.replaceKey("/Parent", group);
                const std::string on = "/" + utf8(words[k]);
                widget.replaceKey("/AS", Handle::newName(words[k] == choice.value ? on : "/Off"));
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
        Handle info = pdf.getTrailer().getKey("/Info");
        if (info.isDictionary())
            info.replaceKey(kMarkerKey, Handle::newString("1"));

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), qsizetype(out->getSize()));
    } catch (const base::Failure &) {
        throw;
    } catch (const std::exception &e) {
        throw base::Failure(QStringLiteral("The fillable PDF could not be produced: %1").arg(QString::fromStdString(e.what())));
    }
}

} // namespace pdfform
