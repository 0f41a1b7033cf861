#include "fw/CCmdUI.h"

#include "fw/CCmdTarget.h"

CCmdUI::CCmdUI(UINT nID)
    : m_nID(nID)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn != FALSE;
    m_bHandled = true;
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
    m_bHandled = true;
}

void CCmdUI::SetRadio(BOOL bOn)
{
    m_bRadio = bOn != FALSE;
    m_nCheck = m_bRadio ? 1 : 0;
    m_bHandled = true;
}

void CCmdUI::DoUpdate(CCmdTarget* pTarget)
{
    m_bEnabled = true;
    m_nCheck = 0;
    m_bRadio = false;
    m_bHandled = false;
    if (pTarget == nullptr || !pTarget->OnCmdMsg(m_nID, this))
        m_bEnabled = false;
}
