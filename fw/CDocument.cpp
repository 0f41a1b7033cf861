#include "fw/CDocument.h"

#include "fw/CDocTemplate.h"
#include "fw/CFrameWnd.h"
#include "fw/CView.h"

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* pView : std::as_const(m_views))
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const CString& strTitle)
{
    m_strTitle = strTitle;
    for (CView* pView : std::as_const(m_views)) {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first; the document must not delete itself while its
    // last view goes with them.
    const bool bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = false;
    while (!m_views.isEmpty()) {
        CView* pView = m_views.first();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && !pFrame->IsDestroyed())
            pFrame->DestroyWindow();
        // A view whose frame is gone (or that had none) leaves the list here.
        if (!m_views.isEmpty() && m_views.first() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents()
{
}

void CDocument::AddView(CView* pView)
{
    if (pView->m_pDocument == this)
        return;
    if (pView->m_pDocument != nullptr)
        pView->m_pDocument->RemoveView(pView);
    m_views.append(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    if (!m_views.removeOne(pView))
        return;
    pView->m_pDocument = nullptr;
    if (m_views.isEmpty() && m_bAutoDelete)
        OnCloseDocument();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_views.isEmpty() ? nullptr : PositionFromIndex(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    const qsizetype nIndex = IndexFromPosition(rPosition);
    if (nIndex < 0 || nIndex >= m_views.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = nIndex + 1 < m_views.size() ? PositionFromIndex(nIndex + 1) : nullptr;
    return m_views.at(nIndex);
}
