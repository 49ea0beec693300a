#include "ComparisonModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace compare {

ComparisonModel::ComparisonModel(QObject *parent) : QAbstractTableModel(parent) {}

ComparisonModel::Cells ComparisonModel::cellsOf(const ApplicantRow &row) const
{
    Cells cells;
    cells.below = belowMinimum(row, m_terms);
    const auto number = [](const std::optional<double> &value) { return value ? QVariant(*value) : QVariant(-1.0); };
    const QString note = rowNote(row);
    for (int c = 0; c < int(Column::Count); ++c) {
        const Column column = Column(c);
        QString &text = cells.text[c];
        text = cellText(row, column, m_terms.monthlyRent);
        switch (column) {
        case Column::Modified: cells.sort[c] = row.modified; break;
        // A day as a time, so that it sorts as one; no day sorts first.
        case Column::Decided: cells.sort[c] = row.decided.isValid() ? row.decided.startOfDay() : QDateTime(); break;
        case Column::KeepUntil: cells.sort[c] = row.keepUntil.isValid() ? row.keepUntil.startOfDay() : QDateTime(); break;
        case Column::Income: cells.sort[c] = number(row.income.annual); break;
        case Column::CoIncome: cells.sort[c] = number(row.coIncome.annual); break;
        case Column::Combined: cells.sort[c] = number(row.combined.annual); break;
        case Column::Multiple: cells.sort[c] = number(incomeMultiple(row, m_terms.monthlyRent)); break;
        case Column::MonthlyPayment: cells.sort[c] = number(readRent(row.monthlyPayment)); break;
        default: cells.sort[c] = text.toCaseFolded(); break;
        }
        QString &tip = cells.toolTip[c];
        if (row.state != ApplicantRow::State::Read)
            tip = row.reason;
        else if (column == Column::Status)
            tip = row.reason; // why the decision could not be read
        else if (column == Column::Income)
            tip = row.income.note;
        else if (column == Column::CoIncome)
            tip = row.coIncome.note;
        else if (column == Column::Multiple || column == Column::Combined) {
            if (!row.combined.annual && !row.combined.empty)
                tip = QStringLiteral("No multiple: ") + row.combined.note;
            else if (m_terms.monthlyRent <= 0)
                tip = QStringLiteral("Type the monthly rent to see the multiple.");
            else if (cells.below)
                tip = QStringLiteral("Below the minimum of %1 \u00d7 the rent").arg(minimumText(m_terms.minimumMultiple));
        }
        if (tip.isEmpty() && column == Column::Name)
            tip = note;
    }
    if (cells.below)
        cells.text[int(Column::Multiple)] += QStringLiteral(" (below)");
    return cells;
}

void ComparisonModel::setRows(QList<ApplicantRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_cells.clear();
    m_cells.reserve(m_rows.size());
    for (const ApplicantRow &row : m_rows)
        m_cells.append(cellsOf(row));
    endResetModel();
}

void ComparisonModel::setTerms(const Terms &terms)
{
    m_terms = terms;
    for (qsizetype r = 0; r < m_rows.size(); ++r)
        m_cells[r] = cellsOf(m_rows[r]);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, int(Column::Count) - 1));
}

int ComparisonModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int ComparisonModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(Column::Count); }

QVariant ComparisonModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= int(Column::Count))
        return {};
    const ApplicantRow &row = m_rows[index.row()];
    const Cells &cells = m_cells[index.row()];
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole: return cells.text[c];
    case Qt::ToolTipRole: return cells.toolTip[c].isEmpty() ? QVariant() : QVariant(cells.toolTip[c]);
    case SortRole: return cells.sort[c];
    case PathRole: return row.path;
    case BelowRole: return cells.below;
    case Qt::BackgroundRole: return cells.below ? QVariant(QBrush(QColor(0xfb, 0xe3, 0xe3))) : QVariant();
    case Qt::ForegroundRole: return cells.below ? QVariant(QBrush(QColor(0x80, 0x10, 0x10))) : QVariant();
    case Qt::FontRole:
        if (row.state != ApplicantRow::State::Read) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    default: return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(Column::Count))
        return QAbstractTableModel::headerData(section, orientation, role);
    // Broken at the space nearest the middle: "Combined annual income" becomes "Combined\nannual income".
    QString title = columnTitle(Column(section));
    qsizetype best = -1;
    for (qsizetype i = title.indexOf(QLatin1Char(' ')); i >= 0; i = title.indexOf(QLatin1Char(' '), i + 1))
        if (best < 0 || std::abs(i - title.size() / 2) < std::abs(best - title.size() / 2))
            best = i;
    if (best >= 0)
        title[best] = QLatin1Char('\n');
    return title;
}

} // namespace compare
