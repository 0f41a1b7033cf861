#include "fw/CListCtrl.h"

#include "fw/CListCtrlModel.h"
#include "fw/VirtualKeys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {
// Row height over the font's line height, as a native list has it.
constexpr int kRowPadding = 6;

// Holds back state notifications while the list changes itself.
class QuietScope
{
public:
    explicit QuietScope(int& nDepth)
        : m_nDepth(nDepth)
    {
        ++m_nDepth;
    }
    ~QuietScope() { --m_nDepth; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& m_nDepth;
};

UINT StateOf(int nRow, int nSelected, int nFocused)
{
    return (nRow == nSelected ? LVIS_SELECTED : 0) | (nRow == nFocused ? LVIS_FOCUSED : 0);
}
}

int CHeaderCtrl::GetItemCount() const
{
    return m_model.ColumnCount();
}

CListCtrl::CListCtrl(QWidget* pParent)
    : CWnd(pParent)
    , m_pModel(new CListCtrlModel(this))
    , m_pView(new QTableView(this))
    , m_header(*m_pModel)
{
    m_pView->setModel(m_pModel);
    m_pView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pView->setSortingEnabled(false);
    m_pView->setAlternatingRowColors(true);
    m_pView->setShowGrid(false);
    m_pView->setWordWrap(false);
    m_pView->setCornerButtonEnabled(false);
    m_pView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_pView->horizontalHeader()->setHighlightSections(false);
    m_pView->horizontalHeader()->setSectionsClickable(false);
    // Every row has the same height, so the view never measures rows.
    QHeaderView* pRows = m_pView->verticalHeader();
    pRows->hide();
    pRows->setSectionResizeMode(QHeaderView::Fixed);
    pRows->setDefaultSectionSize(m_pView->fontMetrics().height() + kRowPadding);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pView);
    setFocusProxy(m_pView);
    m_pView->installEventFilter(this);

    QItemSelectionModel* pSelection = m_pView->selectionModel();
    connect(pSelection, &QItemSelectionModel::selectionChanged, this, &CListCtrl::OnViewStateChanged);
    connect(pSelection, &QItemSelectionModel::currentChanged, this, &CListCtrl::OnViewStateChanged);
}

CListCtrl::~CListCtrl() = default;

int CListCtrl::InsertColumn(int nCol, const CString& strHeading, int nFormat, int nWidth)
{
    const QuietScope quiet(m_nQuietDepth);
    const int nInserted = m_pModel->InsertColumn(nCol, strHeading, nFormat);
    if (nInserted >= 0 && nWidth >= 0)
        SetColumnWidth(nInserted, nWidth);
    ForgetStateChanges();
    return nInserted;
}

BOOL CListCtrl::DeleteColumn(int nCol)
{
    const QuietScope quiet(m_nQuietDepth);
    const bool bDeleted = m_pModel->DeleteColumn(nCol);
    ForgetStateChanges();
    return bDeleted ? TRUE : FALSE;
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN& column) const
{
    if (nCol < 0 || nCol >= m_pModel->ColumnCount())
        return FALSE;
    column.fmt = m_pModel->ColumnFormat(nCol);
    column.cx = GetColumnWidth(nCol);
    column.strText = m_pModel->ColumnTitle(nCol);
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= m_pModel->ColumnCount() || m_pView->isColumnHidden(nCol))
        return 0;
    return m_pView->columnWidth(nCol);
}

BOOL CListCtrl::SetColumnWidth(int nCol, int nWidth)
{
    if (nCol < 0 || nCol >= m_pModel->ColumnCount() || nWidth < 0)
        return FALSE;
    // A column of no width is hidden; its cells keep their text.
    m_pView->setColumnHidden(nCol, nWidth == 0);
    if (nWidth > 0)
        m_pView->setColumnWidth(nCol, nWidth);
    return TRUE;
}

int CListCtrl::InsertItem(int nItem, CString strItem)
{
    const QStringView text(strItem);
    return InsertItemTexts(nItem, std::span(&text, 1));
}

int CListCtrl::InsertItemTexts(int nItem, std::span<const QStringView> texts)
{
    const QuietScope quiet(m_nQuietDepth);
    const bool bInside = nItem < m_pModel->ItemCount();
    const int nInserted = m_pModel->InsertRow(nItem, texts);
    // A row inserted before others moves their selection and focus along.
    if (bInside)
        ForgetStateChanges();
    return nInserted;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, CString strText)
{
    return m_pModel->SetText(nItem, nSubItem, strText) ? TRUE : FALSE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    return m_pModel->Text(nItem, nSubItem);
}

int CListCtrl::GetItemCount() const
{
    return m_pModel->ItemCount();
}

BOOL CListCtrl::DeleteAllItems()
{
    const QuietScope quiet(m_nQuietDepth);
    m_pModel->DeleteAllRows();
    m_nSelectionMark = -1;
    ForgetStateChanges();
    return TRUE;
}

void CListCtrl::SetItemCount(int nItems)
{
    m_pModel->ReserveRows(nItems);
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    if (nItem < 0 || nItem >= GetItemCount())
        return 0;
    return StateOf(nItem, SelectedRow(), FocusedRow()) & nMask;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    if (nItem < -1 || nItem >= GetItemCount())
        return FALSE;
    m_pModel->CommitPendingRows();
    {
        const QuietScope quiet(m_nQuietDepth);
        QItemSelectionModel* pSelection = m_pView->selectionModel();
        const QModelIndex row = nItem >= 0 ? m_pModel->index(nItem, 0) : QModelIndex();
        if (nMask & LVIS_SELECTED) {
            if ((nState & LVIS_SELECTED) && row.isValid())
                pSelection->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            else if (!(nState & LVIS_SELECTED) && row.isValid())
                pSelection->select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
            else if (!(nState & LVIS_SELECTED))
                pSelection->clearSelection();
        }
        if (nMask & LVIS_FOCUSED) {
            if ((nState & LVIS_FOCUSED) && row.isValid())
                pSelection->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
            else if (!(nState & LVIS_FOCUSED) && (!row.isValid() || FocusedRow() == nItem))
                pSelection->clearCurrentIndex();
        }
    }
    NotifyStateChanges();
    return TRUE;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    const int nFirst = std::max(nItem + 1, 0);
    if (nFlags & (LVNI_SELECTED | LVNI_FOCUSED)) {
        // One row at most is selected and one focused.
        const int nSelected = SelectedRow();
        const int nFocused = FocusedRow();
        int nCandidate = (nFlags & LVNI_SELECTED) ? nSelected : nFocused;
        if ((nFlags & LVNI_SELECTED) && (nFlags & LVNI_FOCUSED) && nSelected != nFocused)
            nCandidate = -1;
        return nCandidate >= nFirst ? nCandidate : -1;
    }
    return nFirst < GetItemCount() ? nFirst : -1;
}

UINT CListCtrl::GetSelectedCount() const
{
    return SelectedRow() >= 0 ? 1 : 0;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL)
{
    if (nItem < 0 || nItem >= GetItemCount())
        return FALSE;
    m_pModel->CommitPendingRows();
    m_pView->scrollTo(m_pModel->index(nItem, 0), QAbstractItemView::EnsureVisible);
    return TRUE;
}

UINT CListCtrl::SetExtendedStyle(UINT nStyle)
{
    m_pView->setShowGrid((nStyle & LVS_EX_GRIDLINES) != 0);
    return std::exchange(m_nExtendedStyle, nStyle);
}

bool CListCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pView && pEvent->type() == QEvent::KeyPress) {
        const UINT nVKey = VirtualKeyFromQtKey(static_cast<QKeyEvent*>(pEvent)->key());
        if (nVKey != 0)
            emit KeyDown(nVKey);
    }
    return CWnd::eventFilter(pWatched, pEvent);
}

int CListCtrl::SelectedRow() const
{
    const QModelIndexList rows = m_pView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int CListCtrl::FocusedRow() const
{
    const QModelIndex current = m_pView->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CListCtrl::OnViewStateChanged()
{
    if (m_nQuietDepth > 0 || m_bNotifyPosted)
        return;
    // The user's click or key changes selection and focus one after the
    // other; the rows are reported once both have changed.
    m_bNotifyPosted = true;
    QMetaObject::invokeMethod(this, &CListCtrl::NotifyStateChanges, Qt::QueuedConnection);
}

void CListCtrl::NotifyStateChanges()
{
    m_bNotifyPosted = false;
    const int nOldSelected = std::exchange(m_nReportedSelected, SelectedRow());
    const int nOldFocused = std::exchange(m_nReportedFocused, FocusedRow());
    if (m_nReportedSelected >= 0 && m_nReportedSelected != nOldSelected)
        m_nSelectionMark = m_nReportedSelected;
    // Rows that lose a state are reported before rows that gain one.
    const std::array<int, 4> rows{nOldSelected, nOldFocused, m_nReportedSelected, m_nReportedFocused};
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        if (*it < 0 || std::find(rows.begin(), it, *it) != it)
            continue;
        const UINT nOld = StateOf(*it, nOldSelected, nOldFocused);
        const UINT nNew = StateOf(*it, m_nReportedSelected, m_nReportedFocused);
        if (nOld != nNew)
            emit ItemChanged(*it, nOld, nNew);
    }
}

void CListCtrl::ForgetStateChanges()
{
    m_nReportedSelected = SelectedRow();
    m_nReportedFocused = FocusedRow();
}
