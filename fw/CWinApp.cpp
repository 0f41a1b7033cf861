#include "fw/CWinApp.h"

#include "fw/CContextMenuManager.h"
#include "fw/CDocManager.h"
#include "fw/CWnd.h"

#include "platform/profile/ProfileStore.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
CWinApp* g_pApp = nullptr;
const char kWorkspaceSection[] = "Workspace";
}

CWinApp::CWinApp(const CString& strAppName)
    : m_pszAppName(strAppName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    while (m_nWaitCursorCount > 0)
        EndWaitCursor();
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::EndApplication()
{
    if (IsWindow(m_pMainWnd))
        m_pMainWnd->DestroyWindow();
}

void CWinApp::SetRegistryKey(const CString& strCompany)
{
    m_strRegistryKey = strCompany;
    m_pProfile.reset();
}

CProfileStore& CWinApp::Profile()
{
    if (!m_pProfile)
        m_pProfile = std::make_unique<CProfileStore>(m_strRegistryKey, m_pszAppName);
    return *m_pProfile;
}

int CWinApp::GetProfileInt(const CString& section, const CString& entry, int nDefault)
{
    return Profile().GetInt(section, entry, nDefault);
}

BOOL CWinApp::WriteProfileInt(const CString& section, const CString& entry, int nValue)
{
    return Profile().WriteInt(section, entry, nValue) ? TRUE : FALSE;
}

CString CWinApp::GetProfileString(const CString& section, const CString& entry, const CString& strDefault)
{
    return Profile().GetString(section, entry, strDefault);
}

BOOL CWinApp::WriteProfileString(const CString& section, const CString& entry, const CString& strValue)
{
    return Profile().WriteString(section, entry, strValue) ? TRUE : FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (m_pDocManager == nullptr)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    if (m_pDocManager == nullptr) {
        pos = nullptr;
        return nullptr;
    }
    return m_pDocManager->GetNextDocTemplate(pos);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager != nullptr)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount() const
{
    return m_pDocManager != nullptr ? m_pDocManager->GetOpenDocumentCount() : 0;
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileOpen();
}

void CWinApp::BeginWaitCursor()
{
    if (m_nWaitCursorCount++ == 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CWinApp::EndWaitCursor()
{
    if (m_nWaitCursorCount == 0)
        return;
    if (--m_nWaitCursorCount == 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

CWinAppEx::CWinAppEx(const CString& strAppName)
    : CWinApp(strAppName)
{
}

CWinAppEx::~CWinAppEx() = default;

BOOL CWinAppEx::InitContextMenuManager()
{
    if (m_pContextMenuManager != nullptr)
        return FALSE;
    m_pContextMenuManager = std::make_unique<CContextMenuManager>();
    return TRUE;
}

CString CWinAppEx::GetString(const CString& entry, const CString& strDefault)
{
    return GetProfileString(kWorkspaceSection, entry, strDefault);
}

BOOL CWinAppEx::WriteString(const CString& entry, const CString& strValue)
{
    return WriteProfileString(kWorkspaceSection, entry, strValue);
}

int CWinAppEx::GetInt(const CString& entry, int nDefault)
{
    return GetProfileInt(kWorkspaceSection, entry, nDefault);
}

BOOL CWinAppEx::WriteInt(const CString& entry, int nValue)
{
    return WriteProfileInt(kWorkspaceSection, entry, nValue);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

CWaitCursor::CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
}
