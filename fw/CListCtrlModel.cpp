#include "fw/CListCtrlModel.h"

#include "fw/CListCtrl.h"

namespace {
Qt::Alignment AlignmentOf(int nFormat)
{
    switch (nFormat & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
}

CListCtrlModel::CListCtrlModel(QObject* pParent)
    : QAbstractTableModel(pParent)
{
}

int CListCtrlModel::InsertColumn(int nColumn, const QString& strTitle, int nFormat)
{
    if (nColumn < 0)
        return -1;
    CommitPendingRows();
    nColumn = std::min(nColumn, ColumnCount());
    beginInsertColumns(QModelIndex(), nColumn, nColumn);
    // The first column takes over the text the rows already hold.
    if (!m_columns.isEmpty())
        MoveCells([nColumn](qsizetype c) { return c < nColumn ? c : c + 1; });
    m_columns.insert(nColumn, Column{strTitle, nFormat});
    endInsertColumns();
    return nColumn;
}

bool CListCtrlModel::DeleteColumn(int nColumn)
{
    if (nColumn < 0 || nColumn >= ColumnCount())
        return false;
    CommitPendingRows();
    beginRemoveColumns(QModelIndex(), nColumn, nColumn);
    if (m_columns.size() > 1)
        MoveCells([nColumn](qsizetype c) { return c < nColumn ? c : c == nColumn ? -1 : c - 1; });
    m_columns.removeAt(nColumn);
    endRemoveColumns();
    return true;
}

QString CListCtrlModel::ColumnTitle(int nColumn) const
{
    return nColumn >= 0 && nColumn < ColumnCount() ? m_columns[nColumn].strTitle : QString();
}

int CListCtrlModel::ColumnFormat(int nColumn) const
{
    return nColumn >= 0 && nColumn < ColumnCount() ? m_columns[nColumn].nFormat : LVCFMT_LEFT;
}

int CListCtrlModel::InsertRow(int nRow, std::span<const QStringView> texts)
{
    if (nRow < 0)
        return -1;
    const std::span<const QStringView> cells = texts.first(std::min(texts.size(), static_cast<size_t>(Stride())));
    if (nRow >= ItemCount()) {
        m_rows.Insert(ItemCount(), cells);
        PostCommit();
        return ItemCount() - 1;
    }
    CommitPendingRows();
    beginInsertRows(QModelIndex(), nRow, nRow);
    m_rows.Insert(nRow, cells);
    ++m_nCommittedRows;
    endInsertRows();
    return nRow;
}

bool CListCtrlModel::SetText(int nRow, int nColumn, QStringView text)
{
    if (!IsCell(nRow, nColumn))
        return false;
    m_rows.SetCell(nRow, nColumn, text);
    if (nRow < m_nCommittedRows) {
        const QModelIndex cell = index(nRow, nColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
    return true;
}

QString CListCtrlModel::Text(int nRow, int nColumn) const
{
    return IsCell(nRow, nColumn) ? m_rows.GetCell(nRow, nColumn).toString() : QString();
}

void CListCtrlModel::DeleteAllRows()
{
    beginResetModel();
    m_rows.Clear();
    m_nCommittedRows = 0;
    endResetModel();
}

void CListCtrlModel::ReserveRows(int nRows)
{
    m_rows.Reserve(nRows);
}

void CListCtrlModel::CommitPendingRows()
{
    m_bCommitPosted = false;
    if (m_nCommittedRows == ItemCount())
        return;
    beginInsertRows(QModelIndex(), m_nCommittedRows, ItemCount() - 1);
    m_nCommittedRows = ItemCount();
    endInsertRows();
}

int CListCtrlModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nCommittedRows;
}

int CListCtrlModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CListCtrlModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || index.row() >= m_nCommittedRows)
        return QVariant();
    switch (nRole) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(ColumnFormat(index.column())));
    default:
        return QVariant();
    }
}

QVariant CListCtrlModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    switch (nRole) {
    case Qt::DisplayRole:
        return ColumnTitle(nSection);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(ColumnFormat(nSection)));
    default:
        return QVariant();
    }
}

Qt::ItemFlags CListCtrlModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool CListCtrlModel::IsCell(int nRow, int nColumn) const
{
    return nRow >= 0 && nRow < ItemCount() && nColumn >= 0 && nColumn < Stride();
}

template <class ColumnMap>
void CListCtrlModel::MoveCells(ColumnMap map)
{
    CListCtrlRows moved;
    moved.Reserve(m_rows.Count());
    for (qsizetype nRow = 0; nRow < m_rows.Count(); ++nRow) {
        const CListCtrlRows::Cells cells = m_rows.GetCells(nRow);
        CListCtrlRows::Cells movedCells;
        for (qsizetype nColumn = 0; nColumn < cells.size(); ++nColumn) {
            const qsizetype nNewColumn = map(nColumn);
            if (nNewColumn < 0)
                continue;
            if (nNewColumn >= movedCells.size())
                movedCells.resize(nNewColumn + 1, QStringView());
            movedCells[nNewColumn] = cells[nColumn];
        }
        moved.Insert(nRow, movedCells);
    }
    m_rows = std::move(moved);
}

void CListCtrlModel::PostCommit()
{
    if (m_bCommitPosted)
        return;
    m_bCommitPosted = true;
    QMetaObject::invokeMethod(this, &CListCtrlModel::CommitPendingRows, Qt::QueuedConnection);
}
