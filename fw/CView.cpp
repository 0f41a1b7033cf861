#include "fw/CView.h"

#include "fw/CDocument.h"

CView::CView(QWidget* pParent)
    : CWnd(pParent)
{
}

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate()
{
}

BOOL CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    if (CWnd::OnCmdMsg(nID, pCmdUI))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, pCmdUI) ? TRUE : FALSE;
}
