#pragma once

#include "fw/CCmdTarget.h"
#include "fw/Types.h"

#include <memory>

class CContextMenuManager;
class CDocManager;
class CDocTemplate;
class CWnd;
class CProfileStore;

// The application object: its title, its main window, its profile, its
// document templates and the application-wide wait cursor. There is one;
// AfxGetApp finds it.
class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const CString& strAppName);
    ~CWinApp() override;

    CString m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
    // Made by the first AddDocTemplate; owned by the application.
    CDocManager* m_pDocManager = nullptr;

    // Registers a template; the application owns it from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    // Closes every open document without asking.
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount() const;

    // The framework's handlers of the new and open commands, for the
    // application's command map.
    void OnFileNew();
    void OnFileOpen();

    // The profile lives under the company key, then the application title.
    void SetRegistryKey(const CString& strCompany);

    int GetProfileInt(const CString& section, const CString& entry, int nDefault);
    [[nodiscard]] BOOL WriteProfileInt(const CString& section, const CString& entry, int nValue);
    CString GetProfileString(const CString& section, const CString& entry, const CString& strDefault = CString());
    [[nodiscard]] BOOL WriteProfileString(const CString& section, const CString& entry, const CString& strValue);

    // Ends the program. Every request to end (a menu's Exit, a signal, the
    // desktop) takes this one way. The base destroys the main window, which
    // ends the message loop.
    virtual void EndApplication();

    // The wait cursor nests: it shows until every Begin has its End.
    void BeginWaitCursor();
    void EndWaitCursor();
    int WaitCursorCount() const { return m_nWaitCursorCount; }

protected:
    CProfileStore& Profile();

private:
    CString m_strRegistryKey;
    std::unique_ptr<CProfileStore> m_pProfile;
    int m_nWaitCursorCount = 0;
};

// The extended application object adds the workspace store, which keeps
// framework state (such as the look) beside the "Settings" section, and the
// context menu manager.
class CWinAppEx : public CWinApp
{
public:
    explicit CWinAppEx(const CString& strAppName);
    ~CWinAppEx() override;

    int GetInt(const CString& entry, int nDefault = 0);
    [[nodiscard]] BOOL WriteInt(const CString& entry, int nValue);
    CString GetString(const CString& entry, const CString& strDefault = CString());
    [[nodiscard]] BOOL WriteString(const CString& entry, const CString& strValue);

    // Made by InitContextMenuManager; null before.
    BOOL InitContextMenuManager();
    CContextMenuManager* GetContextMenuManager() const { return m_pContextMenuManager.get(); }

private:
    std::unique_ptr<CContextMenuManager> m_pContextMenuManager;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Shows the wait cursor for the life of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
