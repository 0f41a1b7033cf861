#include "fw/CDocManager.h"

#include "fw/CDocTemplate.h"
#include "fw/CNewTypeDlg.h"
#include "fw/CWinApp.h"
#include "fw/CWnd.h"

#include <QFileDialog>

namespace {
constexpr char kOpenCaption[] = "Open";
constexpr char kAllFilesFilter[] = "All Files (*)";
}

CDocManager::~CDocManager()
{
    qDeleteAll(m_templates);
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate != nullptr && !m_templates.contains(pTemplate))
        m_templates.append(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templates.isEmpty() ? nullptr : PositionFromIndex(0);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    const qsizetype nIndex = IndexFromPosition(pos);
    if (nIndex < 0 || nIndex >= m_templates.size()) {
        pos = nullptr;
        return nullptr;
    }
    pos = nIndex + 1 < m_templates.size() ? PositionFromIndex(nIndex + 1) : nullptr;
    return m_templates.at(nIndex);
}

CDocTemplate* CDocManager::GetDocTemplate(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_templates.size() ? m_templates.at(nIndex) : nullptr;
}

int CDocManager::GetOpenDocumentCount() const
{
    int nCount = 0;
    for (const CDocTemplate* pTemplate : m_templates)
        nCount += static_cast<int>(pTemplate->GetDocuments().size());
    return nCount;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* pTemplate : std::as_const(m_templates))
        pTemplate->CloseAllDocuments(bEndSession);
}

void CDocManager::OnFileNew()
{
    if (m_templates.isEmpty())
        return;
    // Only templates with a file-new name are offered by name.
    QList<CDocTemplate*> offered;
    for (CDocTemplate* pTemplate : std::as_const(m_templates)) {
        CString strName;
        if (pTemplate->GetDocString(strName, CDocTemplate::fileNewName))
            offered.append(pTemplate);
    }
    if (offered.size() <= 1) {
        (offered.isEmpty() ? m_templates.first() : offered.first())->OpenDocumentFile(nullptr);
        return;
    }
    // The choice does not block the caller: the dialog is window-modal and
    // opens the document when it is accepted.
    auto* pDialog = new CNewTypeDlg(offered, AfxGetMainWnd());
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    pDialog->open();
}

void CDocManager::OnFileOpen()
{
    if (m_templates.isEmpty())
        return;
    // Like New, the choice does not block the caller: the dialog is
    // window-modal and opens the page when a file is chosen. No template
    // names a file type, so every file is offered.
    auto* pDialog =
        new QFileDialog(AfxGetMainWnd(), QLatin1String(kOpenCaption), QString(), QLatin1String(kAllFilesFilter));
    pDialog->setOption(QFileDialog::DontUseNativeDialog);
    pDialog->setFileMode(QFileDialog::ExistingFile);
    pDialog->setAcceptMode(QFileDialog::AcceptOpen);
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(pDialog, &QFileDialog::fileSelected, [](const QString& strPath) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pDocManager != nullptr)
            pApp->m_pDocManager->OpenDocumentFile(strPath);
    });
    pDialog->open();
}

CDocument* CDocManager::OpenDocumentFile(const CString& strPath)
{
    // Without a file type of its own, every template may try the file; the
    // first one does.
    if (m_templates.isEmpty())
        return nullptr;
    return m_templates.first()->OpenDocumentFile(&strPath);
}
