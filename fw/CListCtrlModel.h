#pragma once

#include "fw/CListCtrlRows.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <span>

// The rows and columns of a report list: the text of every cell, and each
// column's title and alignment.
//
// Rows appended at the end are shown to views in one batch when control
// returns to the event loop (or before any other change), so that filling a
// list of a hundred thousand rows does not notify the view row by row.
// ItemCount() counts them at once.
class CListCtrlModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CListCtrlModel(QObject* pParent = nullptr);

    int ItemCount() const { return static_cast<int>(m_rows.Count()); }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }

    // nFormat is one of the list's LVCFMT_* alignments. Returns the new
    // column's index (nColumn, or the end when nColumn lies beyond it), or
    // -1 when nColumn is negative.
    int InsertColumn(int nColumn, const QString& strTitle, int nFormat);
    bool DeleteColumn(int nColumn);
    QString ColumnTitle(int nColumn) const;
    int ColumnFormat(int nColumn) const;

    // Inserts a row whose first cells hold texts, in column order; texts
    // beyond the last column are dropped. Returns the new row's index (nRow,
    // or the end when nRow lies beyond it), or -1 when nRow is negative.
    int InsertRow(int nRow, std::span<const QStringView> texts);
    bool SetText(int nRow, int nColumn, QStringView text);
    QString Text(int nRow, int nColumn) const;
    void DeleteAllRows();
    // Makes room for nRows rows in all, so that appending them moves no row.
    void ReserveRows(int nRows);

    // Shows views the rows appended since they last heard of any.
    void CommitPendingRows();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Column {
        QString strTitle;
        int nFormat;
    };

    // Cells per row: a list without columns still keeps each row's first text.
    qsizetype Stride() const { return std::max<qsizetype>(1, m_columns.size()); }
    bool IsCell(int nRow, int nColumn) const;
    // Moves every row's cell c to map(c), or drops it where map gives -1.
    template <class ColumnMap>
    void MoveCells(ColumnMap map);
    void PostCommit();

    QList<Column> m_columns;
    CListCtrlRows m_rows;
    int m_nCommittedRows = 0;
    bool m_bCommitPosted = false;
};
