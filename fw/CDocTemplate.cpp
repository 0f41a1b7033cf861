#include "fw/CDocTemplate.h"

#include "fw/CCreateContext.h"
#include "fw/CDocument.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CView.h"
#include "fw/CWinApp.h"
#include "fw/StringResources.h"

CDocTemplate::CDocTemplate(UINT nIDResource, DocumentFactory documentFactory, FrameFactory frameFactory,
                           ViewFactory viewFactory)
    : m_nIDResource(nIDResource)
    , m_documentFactory(std::move(documentFactory))
    , m_frameFactory(std::move(frameFactory))
    , m_viewFactory(std::move(viewFactory))
{
}

CDocTemplate::~CDocTemplate()
{
    // Documents still open outlive their pages only as data: their frames
    // belong to the main window, which takes them down with it.
    while (!m_documents.isEmpty()) {
        CDocument* pDoc = m_documents.takeFirst();
        pDoc->m_pDocTemplate = nullptr;
        delete pDoc;
    }
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString = AfxExtractSubString(AfxLoadString(m_nIDResource), index);
    return rString.isEmpty() ? FALSE : TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        return;
    m_documents.append(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_documents.removeOne(pDoc))
        pDoc->m_pDocTemplate = nullptr;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (!m_documents.isEmpty())
        m_documents.first()->OnCloseDocument();
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CDocument* pDoc = m_documentFactory ? m_documentFactory() : nullptr;
    if (pDoc != nullptr)
        AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CMDIChildWndEx* pFrame = m_frameFactory ? m_frameFactory() : nullptr;
    if (pFrame == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_viewFactory;
    context.m_pNewDocTemplate = this;
    if (!pFrame->LoadFrame(m_nIDResource, WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame that failed to load has already gone.
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}
