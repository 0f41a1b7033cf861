#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// The rows and columns of a report list: the text of every cell, and each
// column's title and alignment. Cells are kept in one flat array, row after
// row, which costs one string per cell and nothing per row.
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

    int ItemCount() const { return m_nRows; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }

    // nFormat is one of the list's LVCFMT_* alignments. Returns the new
    // column's index (nColumn, or the end when nColumn lies beyond it), or
    // -1 when nColumn is negative.
    int InsertColumn(int nColumn, const QString& strTitle, int nFormat);
    bool DeleteColumn(int nColumn);
    QString ColumnTitle(int nColumn) const;
    int ColumnFormat(int nColumn) const;

    // Returns the new row's index (nRow, or the end when nRow lies beyond
    // it), or -1 when nRow is negative.
    int InsertRow(int nRow, QString strText);
    bool SetText(int nRow, int nColumn, QString strText);
    QString Text(int nRow, int nColumn) const;
    void DeleteAllRows();
    // Makes room for nRows rows in all, so that appending them copies nothing.
    void ReserveRows(int nRows);

    // Shows views the rows appended since they last heard of any.
    void CommitPendingRows();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Column
    {
        QString strTitle;
        int nFormat;
    };

    // Cells per row: a list without columns still keeps each row's text.
    qsizetype Stride() const { return std::max<qsizetype>(1, m_columns.size()); }
    bool IsCell(int nRow, int nColumn) const;
    // Rebuilds the cells for nNewStride cells a row: old cell c moves to
    // map(c), or is dropped where map gives -1.
    template <class ColumnMap>
    void Restride(qsizetype nNewStride, ColumnMap map);
    void PostCommit();

    QList<Column> m_columns;
    QList<QString> m_cells;
    int m_nRows = 0;
    int m_nCommittedRows = 0;
    bool m_bCommitPosted = false;
};
