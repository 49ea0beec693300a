#include "FieldPlan.h"

#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/PrintedPages.h"

#include "base/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <algorithm>
#include <map>
#include <tuple>

namespace form {
using namespace pdfform;

namespace {

// The room a radio button takes before its word: four spaces of the cell's font.
const QString kButtonGap = QStringLiteral("    ");

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

// Tahoma embedded whole (not a subset) as a composite font, so that a viewer can draw whatever the
// applicant types that Tahoma covers (Latin, Cyrillic, Arabic among others) with the form's own font
// and needs to add none of its own to the filled file.
LayerFont fieldFont()
{
    LayerFont result;
    result.file = tahomaBytes();
    QRawFont font;
    font.loadFromData(result.file, 1000, QFont::PreferNoHinting);
    if (!font.isValid())
        throw base::Failure(QStringLiteral("The Tahoma font could not be read for the fillable PDF."));
    const QByteArray maxp = font.fontTable("maxp");
    const int glyphCount = maxp.size() >= 6 ? (quint8(maxp[4]) << 8 | quint8(maxp[5])) : 0;
    if (glyphCount == 0)
        throw base::Failure(QStringLiteral("The Tahoma font could not be read for the fillable PDF."));
    QList<quint32> glyphs(glyphCount);
    for (int glyph = 0; glyph < glyphCount; ++glyph)
        glyphs[glyph] = quint32(glyph);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    for (const QPointF &advance : advances) {
        result.widths.push_back(qRound(advance.x()));
        result.widest = std::max(result.widest, advance.x());
    }
    // Every character of the Basic Multilingual Plane the face maps to a glyph, first one a glyph.
    QString characters;
    characters.reserve(0xFFFF);
    for (char32_t unicode = 0x20; unicode <= 0xFFFF; ++unicode)
        if (!QChar::isSurrogate(unicode) && font.supportsCharacter(unicode))
            characters.append(QChar(char16_t(unicode)));
    const QList<quint32> mapped = font.glyphIndexesForString(characters);
    std::vector<bool> named(std::size_t(glyphCount), false);
    for (qsizetype i = 0; i < mapped.size() && i < characters.size(); ++i) {
        const quint32 glyph = mapped[i];
        if (glyph == 0 || glyph >= quint32(glyphCount) || named[glyph])
            continue;
        named[glyph] = true;
        result.unicodes.emplace_back(glyph, characters[i].unicode());
    }
    std::sort(result.unicodes.begin(), result.unicodes.end());
    result.ascent = qRound(font.ascent());
    result.descent = qRound(font.descent());
    result.capHeight = qRound(font.capHeight());
    return result;
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

// What a screen reader announces for a field: its section and its label ("Co-applicant Information:
// Name"), since several sections have a "Name".
QString tooltipOf(const QString &section, const QString &label)
{
    if (section.isEmpty() || label.isEmpty())
        return label;
    return section + QStringLiteral(": ") + label;
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

QByteArray fillablePdf(const FormLayer &layer, wordproc::Document document, const FormPlan &plan, const QString &title)
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
        paragraph.runs.back().text += kButtonGap + choice.firstShown + kButtonGap + kButtonGap + choice.secondShown;
    }
    LayerPlan layerPlan;
    layerPlan.pages = wordproc::pdfOf(document, title);
    const Placer placer(document);

    std::vector<std::pair<FieldBox, QString>> drawnValues;
    for (const TextFieldPlan &text : plan.texts) {
        const FieldBox box = placer.place(text.at);
        int look = -1;
        if (!text.value.isEmpty()) {
            look = int(drawnValues.size());
            drawnValues.emplace_back(box, text.value);
        }
        layerPlan.texts.push_back({text.name, tooltipOf(text.section, box.label), text.value, box.page,
                                   {box.left, box.bottom, box.right, box.top}, box.fontSize, look});
    }
    if (!drawnValues.empty())
        layerPlan.valueLooks = valuePages(drawnValues);
    layerPlan.valueLookCount = int(drawnValues.size());

    for (const ChoicePlan &choice : plan.choices) {
        const FieldBox box = placer.place(choice.at);
        LayerChoice group{choice.name, tooltipOf(choice.section, box.label), choice.value, box.page, {}};
        const QString words[2] = {choice.firstWord, choice.secondWord};
        // Each button a square of the font's size, ending a little before its word and
        // standing on the line as the word's letters do.
        const double size = box.fontSize;
        const int gap = int(kButtonGap.size());
        const int wordAt[2] = {choice.at.labelLength + gap, choice.at.labelLength + 3 * gap + int(choice.firstShown.size())};
        for (int k = 0; k < 2; ++k) {
            const double right = placer.pointsAt(choice.at, wordAt[k]) - size * 0.15;
            const double bottom = box.bottom + box.baseline - size * 0.12;
            group.buttons.push_back({words[k], {right - size, bottom, right, bottom + size}});
        }
        layerPlan.choices.push_back(std::move(group));
    }
    layerPlan.font = fieldFont();
    layerPlan.language = plan.languageTag;

    QByteArray result;
    QString error;
    if (!layer.addFields(layerPlan, result, error))
        throw base::Failure(error);
    return result;
}

} // namespace form
