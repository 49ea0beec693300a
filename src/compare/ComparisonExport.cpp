#include "ComparisonExport.h"

#include "base/SafeWrite.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace compare {
namespace {

QByteArray csvField(QString text)
{
    // Spreadsheets run a cell that starts like a formula: =HYPERLINK(...) would become a link.
    if (!text.isEmpty()
        && (text.front() == QLatin1Char('=') || text.front() == QLatin1Char('+') || text.front() == QLatin1Char('-')
            || text.front() == QLatin1Char('@') || text.front() == QLatin1Char('\t') || text.front() == QLatin1Char('\r')))
        text.prepend(QLatin1Char('\''));
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r') || bytes.startsWith(' ')
        || bytes.endsWith(' ')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

// A printed page loses its colours: the mark is also in words.
QString pdfCellText(const ApplicantRow &row, Column column, const Terms &terms)
{
    const QString text = cellText(row, column, terms.monthlyRent);
    return column == Column::Multiple && belowMinimum(row, terms) ? text + QStringLiteral(" (below)") : text;
}

} // namespace

QString minimumText(double minimum) { return QString::number(std::round(minimum * 100) / 100, 'g', 6); }

void writeComparison(const QString &path, const QByteArray &bytes)
{
    base::ReplaceOptions options;
    options.followLink = true;
    options.mode = 0600;
    base::replaceFile(path, bytes, options);
}

bool belowMinimum(const ApplicantRow &row, const Terms &terms)
{
    // The cut hundredths against the minimum's: the same answer as the exact multiple against the
    // minimum, and the one the figure shown gives.
    const std::optional<qint64> hundredths = multipleHundredths(row, terms.monthlyRent);
    return hundredths && *hundredths < std::llround(terms.minimumMultiple * 100);
}

QString rowNote(const ApplicantRow &row)
{
    if (row.state != ApplicantRow::State::Read)
        return row.reason;
    QStringList notes;
    if (!row.income.note.isEmpty())
        notes << QStringLiteral("Applicant's income: ") + row.income.note;
    if (!row.coIncome.note.isEmpty())
        notes << QStringLiteral("Co-applicant's income: ") + row.coIncome.note;
    return notes.join(QStringLiteral("; "));
}

QByteArray comparisonCsv(const QList<ApplicantRow> &rows, const Terms &terms)
{
    QByteArray out;
    const auto line = [&out](const QList<QByteArray> &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            out += (i ? "," : "") + fields[i];
        out += "\r\n";
    };
    QList<QByteArray> header;
    for (int c = 0; c < int(Column::Count); ++c)
        header << csvField(columnTitle(Column(c)));
    header << csvField(QStringLiteral("Below minimum")) << csvField(QStringLiteral("Note"));
    line(header);
    for (const ApplicantRow &row : rows) {
        QList<QByteArray> fields;
        for (int c = 0; c < int(Column::Count); ++c)
            fields << csvField(c == int(Column::Name) && row.state != ApplicantRow::State::Read ? QString()
                                                                                                  : cellText(row, Column(c), terms.monthlyRent));
        fields << csvField(belowMinimum(row, terms) ? QStringLiteral("yes") : QString()) << csvField(rowNote(row));
        line(fields);
    }
    return out;
}

QByteArray comparisonPdf(const QList<ApplicantRow> &rows, const Terms &terms, const QString &folder)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36),
                                     QPageLayout::Point));
    writer.setResolution(720);
    writer.setTitle(QStringLiteral("Applicants compared"));
    writer.setCreator(QStringLiteral("Tenvoria"));
    QPainter painter(&writer);
    // The painter's origin is the corner of the area within the margins.
    const QRectF page(QPointF(0, 0), QSizeF(writer.pageLayout().paintRectPixels(writer.resolution()).size()));
    const double scale = writer.resolution() / 72.0; // points to device pixels
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(7);
    QFont bold = font;
    bold.setBold(true);
    const QLocale english(QLocale::English, QLocale::UnitedStates);

    // Each column as wide as its widest text (titles wrap at their words), within a fifth of the page.
    // When they do not fit, the columns of free text give up room; the figures, the multiple, the
    // decision and the dates never do, so that they are never cut.
    const double pad = 2 * scale;
    const QFontMetricsF metrics(font, &writer), boldMetrics(bold, &writer);
    double natural[int(Column::Count)] = {};
    for (int c = 0; c < int(Column::Count); ++c) {
        for (const QString &word : columnTitle(Column(c)).split(QLatin1Char(' ')))
            natural[c] = std::max(natural[c], boldMetrics.horizontalAdvance(word));
        for (const ApplicantRow &row : rows)
            natural[c] = std::max(natural[c], metrics.horizontalAdvance(pdfCellText(row, Column(c), terms)));
        natural[c] = std::min(natural[c] + 2 * pad + 1, page.width() / 5);
    }
    const auto keepsWidth = [](int c) {
        return c == int(Column::Combined) || c == int(Column::Multiple) || c == int(Column::Modified)
               || c == int(Column::Status) || c == int(Column::Decided) || c == int(Column::KeepUntil);
    };
    double kept = 0, free = 0;
    for (int c = 0; c < int(Column::Count); ++c)
        (keepsWidth(c) ? kept : free) += natural[c];
    // Room left over goes to every column alike; room missing is taken from the free text.
    const double spare = page.width() - kept - free;
    QList<double> lefts;
    double x = page.left();
    for (int c = 0; c < int(Column::Count); ++c) {
        lefts << x;
        if (spare >= 0)
            x += natural[c] * page.width() / (kept + free);
        else
            x += keepsWidth(c) ? natural[c] : natural[c] * (page.width() - kept) / free;
    }
    lefts << page.right();
    const double rowHeight = 14 * scale;
    double y = 0;
    int pageNumber = 0;

    const auto cell = [&](int column, double top, const QString &text, bool heading) {
        const QRectF box(lefts[column] + pad, top, lefts[column + 1] - lefts[column] - 2 * pad, heading ? 2 * rowHeight : rowHeight);
        painter.setFont(heading ? bold : font);
        if (heading) { // titles wrap onto a second line rather than lose their end
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
            return;
        }
        const QString shown = QFontMetricsF(painter.font(), &writer).elidedText(text, Qt::ElideRight, box.width());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    };
    const auto startPage = [&] {
        if (pageNumber++ > 0)
            writer.newPage();
        y = page.top();
        painter.setFont(bold);
        painter.drawText(QRectF(page.left(), y, page.width(), rowHeight * 1.3), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Applicants of %1").arg(folder));
        y += rowHeight * 1.3;
        painter.setFont(font);
        const QString rent = terms.monthlyRent > 0 ? english.toString(terms.monthlyRent, 'f', terms.monthlyRent == std::floor(terms.monthlyRent) ? 0 : 2)
                                                   : QStringLiteral("not given");
        painter.drawText(QRectF(page.left(), y, page.width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Monthly rent: %1    Minimum income: %2 \u00d7 the yearly rent    %3    Page %4")
                             .arg(rent, minimumText(terms.minimumMultiple),
                                  QDate::currentDate().toString(Qt::ISODate))
                             .arg(pageNumber));
        y += rowHeight * 1.5;
        painter.fillRect(QRectF(page.left(), y, page.width(), 2 * rowHeight), QColor(0xe8, 0xe8, 0xe8));
        for (int c = 0; c < int(Column::Count); ++c)
            cell(c, y, columnTitle(Column(c)), true);
        y += 2 * rowHeight;
    };
    startPage();
    for (const ApplicantRow &row : rows) {
        if (y + rowHeight > page.bottom())
            startPage();
        if (belowMinimum(row, terms))
            painter.fillRect(QRectF(page.left(), y, page.width(), rowHeight), QColor(0xfb, 0xe3, 0xe3));
        for (int c = 0; c < int(Column::Count); ++c)
            cell(c, y, pdfCellText(row, Column(c), terms), false);
        painter.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 0.5 * scale));
        painter.drawLine(QPointF(page.left(), y + rowHeight), QPointF(page.right(), y + rowHeight));
        painter.setPen(Qt::black);
        y += rowHeight;
    }
    if (rows.isEmpty())
        cell(1, y, QStringLiteral("No applicant files in this folder."), false);
    painter.end();
    return bytes;
}

} // namespace compare
