#include "fw/ribbon/CMFCRibbonBaseElement.h"

#include "fw/CCmdUI.h"
#include "fw/CWnd.h"
#include "fw/StringResources.h"
#include "fw/WindowMessages.h"
#include "fw/ribbon/CMFCRibbonBar.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonPanel.h"

namespace {
constexpr UINT kNoCommand = static_cast<UINT>(-1);
// The prompt's parts: the description, then the tooltip title.
constexpr int kPromptDescription = 0;
constexpr int kPromptTitle = 1;
}

CMFCRibbonBaseElement::CMFCRibbonBaseElement() = default;

CMFCRibbonBaseElement::~CMFCRibbonBaseElement()
{
    delete m_pWidget.data();
}

void CMFCRibbonBaseElement::SetText(const CString& strText)
{
    const qsizetype nNewline = strText.indexOf(QLatin1Char('\n'));
    SetLabel(nNewline < 0 ? strText : strText.left(nNewline), nNewline < 0 ? CString() : strText.mid(nNewline + 1));
}

void CMFCRibbonBaseElement::SetLabel(const CString& strLabel, const CString& strKeys)
{
    m_strText = strLabel;
    m_strKeys = strKeys;
    UpdateWidget();
}

void CMFCRibbonBaseElement::SetToolTipText(const CString& strToolTip)
{
    m_strToolTip = strToolTip;
}

void CMFCRibbonBaseElement::SetDescription(const CString& strDescription)
{
    m_strDescription = strDescription;
}

CString CMFCRibbonBaseElement::PromptPart(int nIndex) const
{
    return HasCommand() ? AfxExtractSubString(AfxLoadString(m_nID), nIndex) : CString();
}

CString CMFCRibbonBaseElement::GetToolTipText() const
{
    if (!m_strToolTip.isEmpty())
        return m_strToolTip;
    const CString strTitle = PromptPart(kPromptTitle);
    if (!strTitle.isEmpty())
        return strTitle;
    CString strLabel = m_strText;
    return strLabel.remove(QLatin1Char('&'));
}

CString CMFCRibbonBaseElement::GetDescription() const
{
    return m_strDescription.isEmpty() ? PromptPart(kPromptDescription) : m_strDescription;
}

CString CMFCRibbonBaseElement::GetToolTipHtml() const
{
    const CString strTitle = GetToolTipText();
    const CString strDescription = GetDescription();
    if (strTitle.isEmpty() && strDescription.isEmpty())
        return CString();
    CString strHtml = QStringLiteral("<b>%1</b>").arg(strTitle.toHtmlEscaped());
    if (!strDescription.isEmpty())
        strHtml += QStringLiteral("<p style=\"margin-top:4px\">%1</p>").arg(strDescription.toHtmlEscaped());
    return strHtml;
}

void CMFCRibbonBaseElement::SetVisible(BOOL bIsVisible)
{
    m_bVisible = bIsVisible != FALSE;
    if (m_pWidget != nullptr)
        m_pWidget->setVisible(m_bVisible);
}

CMFCRibbonCategory* CMFCRibbonBaseElement::GetParentCategory() const
{
    return m_pParentPanel != nullptr ? m_pParentPanel->GetParentCategory() : nullptr;
}

CMFCRibbonBar* CMFCRibbonBaseElement::GetTopLevelRibbonBar() const
{
    if (m_pRibbonBar != nullptr)
        return m_pRibbonBar;
    const CMFCRibbonCategory* pCategory = GetParentCategory();
    return pCategory != nullptr ? pCategory->GetParentRibbonBar() : nullptr;
}

CWnd* CMFCRibbonBaseElement::GetOwner() const
{
    const CMFCRibbonBar* pBar = GetTopLevelRibbonBar();
    return pBar != nullptr ? pBar->GetOwner() : nullptr;
}

BOOL CMFCRibbonBaseElement::HasCommand() const
{
    return m_nID != 0 && m_nID != kNoCommand ? TRUE : FALSE;
}

void CMFCRibbonBaseElement::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (!HasCommand()) {
        SetState(false, m_nCheck, m_bRadio);
        return;
    }
    CCmdUI state(m_nID);
    state.DoUpdate(pTarget);
    const bool bEnabled = state.IsEnabled() || (!bDisableIfNoHandler && !state.IsHandled());
    SetState(!bEnabled, state.GetCheck(), state.IsRadio());
}

void CMFCRibbonBaseElement::SetState(bool bDisabled, int nCheck, bool bRadio)
{
    if (m_bDisabled == bDisabled && m_nCheck == nCheck && m_bRadio == bRadio)
        return;
    m_bDisabled = bDisabled;
    m_nCheck = nCheck;
    m_bRadio = bRadio;
    UpdateWidget();
}

void CMFCRibbonBaseElement::OnClick()
{
    if (!HasCommand())
        return;
    // The state may have changed since the last idle update.
    if (CWnd* pOwner = GetOwner())
        OnUpdateCmdUI(pOwner, TRUE);
    if (m_bDisabled)
        return;
    NotifyCommand(TRUE);
}

BOOL CMFCRibbonBaseElement::NotifyCommand(BOOL bWithDelay)
{
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || !HasCommand())
        return FALSE;
    if (bWithDelay)
        pOwner->PostMessage(WM_COMMAND, m_nID);
    else
        pOwner->SendMessage(WM_COMMAND, m_nID);
    if (CMFCRibbonBar* pBar = GetTopLevelRibbonBar())
        pBar->ScheduleUpdate();
    return TRUE;
}

QWidget* CMFCRibbonBaseElement::EnsureWidget(QWidget* pParent)
{
    if (m_pWidget == nullptr) {
        m_pWidget = CreateWidget(pParent);
        m_pWidget->setVisible(m_bVisible);
        UpdateWidget();
    } else if (m_pWidget->parentWidget() != pParent) {
        m_pWidget->setParent(pParent);
        m_pWidget->setVisible(m_bVisible);
    }
    return m_pWidget.data();
}

void CMFCRibbonBaseElement::UpdateWidget()
{
    if (m_pWidget != nullptr)
        m_pWidget->setEnabled(!m_bDisabled);
}
