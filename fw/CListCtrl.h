#pragma once

#include "fw/CWnd.h"
#include "fw/Types.h"

#include <QStringView>
#include <span>

class CListCtrlModel;
class QTableView;

// Column alignments.
inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

// Item states.
inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;

// What GetNextItem looks for.
inline constexpr int LVNI_ALL = 0x0000;
inline constexpr int LVNI_FOCUSED = 0x0001;
inline constexpr int LVNI_SELECTED = 0x0002;

// Extended styles. Rows are always selected whole, so full-row select is
// accepted and kept but changes nothing.
inline constexpr UINT LVS_EX_GRIDLINES = 0x0001;
inline constexpr UINT LVS_EX_FULLROWSELECT = 0x0020;

// A column's alignment, width and title.
struct LVCOLUMN {
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    CString strText;
};

// The column headings of a list: how many there are.
class CHeaderCtrl
{
public:
    explicit CHeaderCtrl(const CListCtrlModel& model)
        : m_model(model)
    {
    }
    int GetItemCount() const;

private:
    const CListCtrlModel& m_model;
};

// A report-style list: rows of text cells under titled columns, single
// selection, alternating row colours, no editing and no sorting. A column
// of width 0 is hidden but keeps its texts.
//
// ItemChanged reports a row whose state (LVIS_SELECTED, LVIS_FOCUSED)
// changed, with its old and new state: at once for SetItemState, and once
// per row after the user's click or key has been handled in full, so that
// a row that gains selection and focus together is reported once. Removing
// rows reports nothing. KeyDown reports each key pressed in the list, as a
// virtual-key code, before the list acts on it.
class CListCtrl : public CWnd
{
    Q_OBJECT

public:
    explicit CListCtrl(QWidget* pParent = nullptr);
    ~CListCtrl() override;

    // nWidth -1 leaves the view's default width.
    int InsertColumn(int nCol, const CString& strHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL DeleteColumn(int nCol);
    BOOL GetColumn(int nCol, LVCOLUMN& column) const;
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int nWidth);
    CHeaderCtrl& GetHeaderCtrl() { return m_header; }

    int InsertItem(int nItem, CString strItem);
    // Inserts a row with the texts of its first columns at once: the
    // quicker way to fill a long list than InsertItem and SetItemText.
    int InsertItemTexts(int nItem, std::span<const QStringView> texts);
    BOOL SetItemText(int nItem, int nSubItem, CString strText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const;
    BOOL DeleteAllItems();
    // Prepares the list for nItems rows in all, when many rows are about to be added.
    void SetItemCount(int nItems);

    UINT GetItemState(int nItem, UINT nMask) const;
    // nItem -1 means every row; it can only clear states.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // The next row after nItem (-1: from the first) in the states of nFlags.
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    // The row selected last, or -1.
    int GetSelectionMark() const { return m_nSelectionMark; }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);

    UINT GetExtendedStyle() const { return m_nExtendedStyle; }
    UINT SetExtendedStyle(UINT nStyle);

signals:
    void ItemChanged(int nItem, UINT uOldState, UINT uNewState);
    void KeyDown(UINT nVKey);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    int SelectedRow() const;
    int FocusedRow() const;
    void OnViewStateChanged();
    // Reports every row whose state differs from what was last reported.
    void NotifyStateChanges();
    // Takes the present state as reported, without telling anyone.
    void ForgetStateChanges();

    CListCtrlModel* m_pModel;
    QTableView* m_pView;
    CHeaderCtrl m_header;
    UINT m_nExtendedStyle = 0;
    int m_nReportedSelected = -1;
    int m_nReportedFocused = -1;
    int m_nSelectionMark = -1;
    int m_nQuietDepth = 0;
    bool m_bNotifyPosted = false;
};
