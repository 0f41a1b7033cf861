#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <span>

// The texts of a report list's rows, packed one row after another into a
// few large blocks: a long list costs a few allocations, not one or more a
// row. A row holds the texts of its first cells; cells past them are
// empty. The views it gives out stay valid until the next change.
class CListCtrlRows
{
public:
    using Cells = QVarLengthArray<QStringView, 8>;

    qsizetype Count() const { return m_places.size(); }
    void Reserve(qsizetype nRows) { m_places.reserve(nRows); }
    void Clear();

    // Inserts a row before nRow (Count() appends). The cells must not be
    // views into these rows.
    void Insert(qsizetype nRow, std::span<const QStringView> cells);
    Cells GetCells(qsizetype nRow) const;
    QStringView GetCell(qsizetype nRow, qsizetype nColumn) const;
    void SetCell(qsizetype nRow, qsizetype nColumn, QStringView text);

private:
    // Where a row's packed texts start.
    struct Place {
        qint32 nBlock;
        qint32 nOffset;
    };

    // Copies the cells into the last block, or a new one when they do not fit.
    Place Store(std::span<const QStringView> cells);
    // Packs the rows afresh once more than half of what the blocks hold is
    // the old texts of changed rows.
    void CompactIfWasteful();

    QList<QString> m_blocks;
    QList<Place> m_places;
    qsizetype m_nStoredUnits = 0;
    qsizetype m_nUnusedUnits = 0;
};
