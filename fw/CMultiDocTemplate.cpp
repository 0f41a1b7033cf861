#include "fw/CMultiDocTemplate.h"

#include "fw/CDocument.h"
#include "fw/CFrameWnd.h"

namespace {
const char kUntitled[] = "Untitled";
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const CString* lpszPathName, BOOL bMakeVisible)
{
    // Documents never come from files here; a path opens a new page all
    // the same, as a template without a file type does.
    Q_UNUSED(lpszPathName);
    CDocument* pDocument = CreateNewDocument();
    if (pDocument == nullptr)
        return nullptr;
    // The document stays alive while its frame is made, whatever the view
    // does to it.
    const BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
        delete pDocument;
        return nullptr;
    }
    SetDefaultTitle(pDocument);
    if (!pDocument->OnNewDocument()) {
        pFrame->DestroyWindow();
        return nullptr;
    }
    ++m_nUntitledCount;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strDocName;
    if (GetDocString(strDocName, docName))
        pDocument->SetTitle(strDocName + QString::number(m_nUntitledCount + 1));
    else
        pDocument->SetTitle(QString::fromLatin1(kUntitled));
}
