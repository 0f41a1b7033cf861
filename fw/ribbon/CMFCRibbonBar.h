#pragma once

#include "fw/CWnd.h"

#include <QList>
#include <QPixmap>
#include <QPointer>

class CFrameWnd;
class CMFCRibbonApplicationButton;
class CMFCRibbonBaseElement;
class CMFCRibbonCategory;
class QStackedWidget;
class QTimer;
class RibbonHeader;

// The ribbon: a caption row (when it replaces its frame's caption), a row of
// category tabs with the round application button at its left and a few
// elements at its right end, and the active category's panels below.
// Clicking a tab calls the virtual SetActiveCategory. Clicking an element
// posts WM_COMMAND with its id to the owner frame. The elements' states come
// from update-UI over the owner's command route, asked before a menu opens,
// after each command and on idle (every 200 ms while the ribbon shows). A
// right-click calls the virtual OnShowRibbonContextMenu.
class CMFCRibbonBar : public CWnd
{
    Q_OBJECT

public:
    explicit CMFCRibbonBar(BOOL bReplaceFrameCaption = TRUE);
    ~CMFCRibbonBar() override;

    // Docks the ribbon at the top of pParentWnd, which becomes its owner.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_RIBBON_BAR);
    CWnd* GetOwner() const { return m_pOwner.data(); }

    // A category with its image strips (small 16 x 16, large 32 x 32 images
    // side by side); the ribbon owns it. The first category becomes active.
    CMFCRibbonCategory* AddCategory(const CString& strName, const QPixmap& smallImages, const QPixmap& largeImages,
                                    CSize sizeSmallImage = CSize(16, 16), CSize sizeLargeImage = CSize(32, 32));
    int GetCategoryCount() const { return static_cast<int>(m_categories.size()); }
    CMFCRibbonCategory* GetCategory(int nIndex) const;
    // The category's position among the tabs; -1 for a category not here.
    int GetCategoryIndex(CMFCRibbonCategory* pCategory) const;
    CMFCRibbonCategory* GetActiveCategory() const { return m_pActiveCategory; }
    // Shows pCategory's panels. bForceRestore brings a minimised ribbon
    // back. FALSE for a category that is not on this ribbon.
    virtual BOOL SetActiveCategory(CMFCRibbonCategory* pCategory, BOOL bForceRestore = FALSE);

    // The application button is not owned by the ribbon.
    void SetApplicationButton(CMFCRibbonApplicationButton* pButton, CSize sizeButton);
    CMFCRibbonApplicationButton* GetApplicationButton() const { return m_pApplicationButton; }
    // An element at the right end of the tab row; the ribbon owns it.
    void AddToTabs(CMFCRibbonBaseElement* pElement);
    const QList<CMFCRibbonBaseElement*>& GetTabElements() const { return m_tabElements; }

    void EnablePrintPreview(BOOL bEnable = TRUE) { m_bPrintPreview = bEnable != FALSE; }
    BOOL IsPrintPreviewEnabled() const { return m_bPrintPreview ? TRUE : FALSE; }

    // A right-click on the ribbon at screen point (x, y), over pHit (or no
    // element). The framework's menu offers to minimise the ribbon. TRUE
    // when the click was handled.
    virtual BOOL OnShowRibbonContextMenu(CWnd* pWnd, int x, int y, CMFCRibbonBaseElement* pHit);

    // A minimised ribbon shows its tabs only.
    void ToggleMinimizeState();
    BOOL IsMinimized() const { return m_bMinimized ? TRUE : FALSE; }

    // The element with the command id, in any category or in the tab row.
    CMFCRibbonBaseElement* FindByID(UINT nID) const;
    // The element whose widget is (or holds) pWidget.
    CMFCRibbonBaseElement* HitTestElement(const QWidget* pWidget) const;

    // Brings every element of the active category and of the tab row up to
    // date from pTarget's command route.
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler = TRUE);
    // The same from the owner frame; the ribbon does it on idle.
    void UpdateFromOwner();
    // Updates once the messages queued so far (a command just sent) have run.
    void ScheduleUpdate();

    int GetCaptionHeight() const;

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    friend class CMFCRibbonBaseElement;
    friend class CMFCRibbonCategory;
    friend class CMFCRibbonPanel;
    friend class RibbonHeader;

    // Every element widget passes through here for tooltips.
    void WatchElementWidget(QWidget* pWidget);
    void ApplyLook();

    bool m_bReplaceFrameCaption;
    bool m_bPrintPreview = true;
    bool m_bMinimized = false;
    QPointer<CWnd> m_pOwner;
    QList<CMFCRibbonCategory*> m_categories;
    CMFCRibbonCategory* m_pActiveCategory = nullptr;
    CMFCRibbonApplicationButton* m_pApplicationButton = nullptr;
    QList<CMFCRibbonBaseElement*> m_tabElements;
    RibbonHeader* m_pHeader;
    QStackedWidget* m_pCategoryStack;
    QTimer* m_pIdleTimer;
};
