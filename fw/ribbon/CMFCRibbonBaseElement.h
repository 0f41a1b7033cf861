#pragma once

#include "fw/Types.h"

#include <QPointer>
#include <QWidget>

class CCmdTarget;
class CMFCRibbonBar;
class CMFCRibbonCategory;
class CMFCRibbonPanel;
class CWnd;

// Something shown on a ribbon or a ribbon status bar: a command id, a
// label, a tooltip and the state that update-UI gives it. The element draws
// itself through a widget that its container asks it to make; clicking it
// sends WM_COMMAND with its id to the ribbon's owner frame. Ids 0 and
// (UINT)-1 send no command and are never disabled.
class CMFCRibbonBaseElement
{
public:
    CMFCRibbonBaseElement();
    CMFCRibbonBaseElement(const CMFCRibbonBaseElement&) = delete;
    CMFCRibbonBaseElement& operator=(const CMFCRibbonBaseElement&) = delete;
    virtual ~CMFCRibbonBaseElement();

    UINT GetID() const { return m_nID; }
    void SetID(UINT nID) { m_nID = nID; }

    // "Label\nKeys": the label shown and the key tip after a newline.
    virtual void SetText(const CString& strText);
    CString GetText() const { return m_strText; }
    CString GetKeys() const { return m_strKeys; }

    // A tooltip title or description set here wins; otherwise both come
    // from the command's prompt in the string table ("description\ntitle"),
    // and the title falls back to the label.
    void SetToolTipText(const CString& strToolTip);
    void SetDescription(const CString& strDescription);
    virtual CString GetToolTipText() const;
    virtual CString GetDescription() const;

    BOOL IsDisabled() const { return m_bDisabled ? TRUE : FALSE; }
    BOOL IsChecked() const { return m_nCheck != 0 ? TRUE : FALSE; }
    BOOL IsVisible() const { return m_bVisible ? TRUE : FALSE; }
    void SetVisible(BOOL bIsVisible);

    CMFCRibbonPanel* GetParentPanel() const { return m_pParentPanel; }
    CMFCRibbonCategory* GetParentCategory() const;
    CMFCRibbonBar* GetTopLevelRibbonBar() const;
    // Where the element's commands go: the owner frame of its ribbon.
    CWnd* GetOwner() const;

    // Asks pTarget's command route for the element's state; without a
    // handler on the route the element is disabled when bDisableIfNoHandler.
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
    // A click: sends the command unless the element is disabled or has none.
    virtual void OnClick();
    // Posts (bWithDelay) or sends WM_COMMAND with the id to the owner.
    BOOL NotifyCommand(BOOL bWithDelay = TRUE);
    BOOL HasCommand() const;

    // The tooltip as rich text: the title in bold, the description below.
    CString GetToolTipHtml() const;

    QWidget* GetWidget() const { return m_pWidget.data(); }
    // Makes the element's widget in pParent (once) and returns it.
    QWidget* EnsureWidget(QWidget* pParent);

protected:
    virtual QWidget* CreateWidget(QWidget* pParent) = 0;
    // Brings the widget up to the element's state.
    virtual void UpdateWidget();
    void SetState(bool bDisabled, int nCheck, bool bRadio);
    int GetCheck() const { return m_nCheck; }
    void SetLabel(const CString& strLabel, const CString& strKeys);
    const CString& GetOwnDescription() const { return m_strDescription; }

private:
    friend class CMFCRibbonPanel;
    friend class CMFCRibbonBar;
    friend class CMFCRibbonStatusBar;

    CString PromptPart(int nIndex) const;

    UINT m_nID = 0;
    CString m_strText;
    CString m_strKeys;
    CString m_strToolTip;
    CString m_strDescription;
    bool m_bDisabled = false;
    int m_nCheck = 0;
    bool m_bRadio = false;
    bool m_bVisible = true;
    CMFCRibbonPanel* m_pParentPanel = nullptr;
    CMFCRibbonBar* m_pRibbonBar = nullptr;
    QPointer<QWidget> m_pWidget;
};
