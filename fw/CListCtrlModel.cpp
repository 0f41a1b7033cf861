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
        Restride(m_columns.size() + 1, [nColumn](qsizetype c) { return c < nColumn ? c : c + 1; });
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
        Restride(m_columns.size() - 1, [nColumn](qsizetype c) { return c < nColumn ? c : c == nColumn ? -1 : c - 1; });
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

int CListCtrlModel::InsertRow(int nRow, QString strText)
{
    if (nRow < 0)
        return -1;
    const qsizetype nStride = Stride();
    if (nRow >= m_nRows) {
        nRow = m_nRows;
        m_cells.resize(m_cells.size() + nStride);
        m_cells[nRow * nStride] = std::move(strText);
        ++m_nRows;
        PostCommit();
        return nRow;
    }
    CommitPendingRows();
    beginInsertRows(QModelIndex(), nRow, nRow);
    m_cells.insert(nRow * nStride, nStride, QString());
    m_cells[nRow * nStride] = std::move(strText);
    ++m_nRows;
    ++m_nCommittedRows;
    endInsertRows();
    return nRow;
}

bool CListCtrlModel::SetText(int nRow, int nColumn, QString strText)
{
    if (!IsCell(nRow, nColumn))
        return false;
    m_cells[nRow * Stride() + nColumn] = std::move(strText);
    if (nRow < m_nCommittedRows) {
        const QModelIndex cell = index(nRow, nColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
    return true;
}

QString CListCtrlModel::Text(int nRow, int nColumn) const
{
    return IsCell(nRow, nColumn) ? m_cells[nRow * Stride() + nColumn] : QString();
}

void CListCtrlModel::DeleteAllRows()
{
    beginResetModel();
    m_cells = QList<QString>();
    m_nRows = 0;
    m_nCommittedRows = 0;
    endResetModel();
}

void CListCtrlModel::ReserveRows(int nRows)
{
    if (nRows > m_nRows)
        m_cells.reserve(nRows * Stride());
}

void CListCtrlModel::CommitPendingRows()
{
    m_bCommitPosted = false;
    if (m_nCommittedRows == m_nRows)
        return;
    beginInsertRows(QModelIndex(), m_nCommittedRows, m_nRows - 1);
    m_nCommittedRows = m_nRows;
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
    return nRow >= 0 && nRow < m_nRows && nColumn >= 0 && nColumn < Stride();
}

template <class ColumnMap>
void CListCtrlModel::Restride(qsizetype nNewStride, ColumnMap map)
{
    const qsizetype nOldStride = Stride();
    QList<QString> cells(m_nRows * nNewStride);
    for (qsizetype nRow = 0; nRow < m_nRows; ++nRow) {
        for (qsizetype nColumn = 0; nColumn < nOldStride; ++nColumn) {
            const qsizetype nNewColumn = map(nColumn);
            if (nNewColumn >= 0)
                cells[nRow * nNewStride + nNewColumn] = std::move(m_cells[nRow * nOldStride + nColumn]);
        }
    }
    m_cells = std::move(cells);
}

void CListCtrlModel::PostCommit()
{
    if (m_bCommitPosted)
        return;
    m_bCommitPosted = true;
    QMetaObject::invokeMethod(this, &CListCtrlModel::CommitPendingRows, Qt::QueuedConnection);
}
