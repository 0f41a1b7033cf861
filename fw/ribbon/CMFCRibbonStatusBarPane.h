#pragma once

#include "fw/ribbon/CMFCRibbonBaseElement.h"

#include <QIcon>

// A pane of the ribbon status bar: a text as wide as its sample text (the
// "almost large" text) and a description shown as its tooltip. SetText
// keeps the text; Redraw shows it.
class CMFCRibbonStatusBarPane : public CMFCRibbonBaseElement
{
public:
    CMFCRibbonStatusBarPane(UINT nCmdID = 0, const CString& strText = CString(), BOOL bIsStatic = FALSE,
                            const QIcon& icon = QIcon(), const CString& strAlmostLargeText = CString());

    // The text as it is, newlines and all.
    void SetText(const CString& strText) override;
    void SetAlmostLargeText(const CString& strAlmostLargeText);
    CString GetAlmostLargeText() const { return m_strAlmostLargeText; }
    BOOL IsStatic() const { return m_bIsStatic ? TRUE : FALSE; }
    // Descriptions are the pane's own; a pane has no command prompt.
    CString GetToolTipText() const override;
    CString GetDescription() const override;

    void Redraw();

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void UpdateWidget() override;

private:
    bool m_bIsStatic;
    QIcon m_icon;
    CString m_strAlmostLargeText;
};
