#pragma once
#include "ApplicantList.h"
#include "ComparisonExport.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVariant>

#include <array>

namespace compare {

// The comparison as a table for views: a folder's rows with their texts, sort keys, notes and
// marks made once per listing and again per change of the terms, so that a view sorting or
// filtering thousands of rows only reads them. A new listing is one reset, so that a sorting proxy
// sorts once, not once a row.
class ComparisonModel final : public QAbstractTableModel {
public:
    static constexpr int SortRole = Qt::UserRole + 1; // a number, a date or case-folded text
    static constexpr int PathRole = Qt::UserRole + 2; // the row's file
    static constexpr int BelowRole = Qt::UserRole + 3; // true on a row below the minimum

    explicit ComparisonModel(QObject *parent = nullptr);

    void setRows(QList<ApplicantRow> rows);
    const QList<ApplicantRow> &rows() const { return m_rows; }
    // The multiples, marks and their notes again for the new terms; the rows stay where they are.
    void setTerms(const Terms &terms);
    const Terms &terms() const { return m_terms; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The titles on two lines, so that the columns need not be as wide as a whole title.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Cells {
        std::array<QString, int(Column::Count)> text;
        std::array<QVariant, int(Column::Count)> sort;
        std::array<QString, int(Column::Count)> toolTip;
        bool below = false;
    };
    Cells cellsOf(const ApplicantRow &row) const;

    QList<ApplicantRow> m_rows;
    QList<Cells> m_cells;
    Terms m_terms;
};

} // namespace compare
