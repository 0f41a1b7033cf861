#pragma once

#include "fw/CCmdUI.h"
#include "fw/CDocManager.h"
#include "fw/CDocument.h"
#include "fw/CFormView.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CMDIFrameWndEx.h"
#include "fw/CMultiDocTemplate.h"
#include "fw/CWinApp.h"
#include "fw/StringResources.h"

#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QVBoxLayout>
#include <gtest/gtest.h>

// Failures show texts as texts.
inline void PrintTo(const QString& strText, std::ostream* pStream)
{
    *pStream << '"' << strText.toStdString() << '"';
}

// A main frame, page templates and pages for the framework's tests. Every
// page writes down what happens to it in Events().
namespace PageFixture {

inline constexpr UINT kMainFrameId = 7000;
inline constexpr UINT kPageId = 7001;
inline constexpr UINT kOtherPageId = 7002;
inline constexpr UINT kFileNew = 57600;
inline constexpr UINT kFileOpen = 57601;
inline constexpr int kFormWidth = 420;
inline constexpr int kFormHeight = 260;

inline QStringList& Events()
{
    static QStringList events;
    return events;
}

inline CString LoadTestString(UINT nID)
{
    switch (nID) {
    case kMainFrameId:
        return QStringLiteral("Test Main Frame");
    case kPageId:
        return QStringLiteral("\nPage\nPage Kind\n\n\nPage.Document\nPage.Document");
    case kOtherPageId:
        return QStringLiteral("\nOther\nOther Kind\n\n\nOther.Document\nOther.Document");
    default:
        return CString();
    }
}

class PageDoc : public CDocument
{
public:
    PageDoc() { ++s_nAlive; }
    ~PageDoc() override
    {
        --s_nAlive;
        Events() << QStringLiteral("document deleted");
    }
    BOOL OnNewDocument() override
    {
        Events() << QStringLiteral("new document '%1'").arg(GetTitle());
        return CDocument::OnNewDocument();
    }
    static inline int s_nAlive = 0;
};

// A document that keeps an empty title whatever it is given.
class UntitledDoc : public PageDoc
{
public:
    void SetTitle(const CString&) override { CDocument::SetTitle(CString()); }
};

class PageView : public CFormView
{
public:
    PageView()
        : CFormView(kPageId)
    {
        auto* pLayout = new QVBoxLayout(GetFormWidget());
        auto* pLabel = new QLabel(QStringLiteral("form"));
        pLabel->setFixedSize(kFormWidth, kFormHeight);
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->addWidget(pLabel);
    }
    void OnInitialUpdate() override
    {
        Events() << QStringLiteral("initial update of '%1', in a frame: %2")
                        .arg(GetDocument() != nullptr ? GetDocument()->GetTitle() : QStringLiteral("no document"))
                        .arg(GetParentFrame() != nullptr ? QStringLiteral("yes") : QStringLiteral("no"));
        CFormView::OnInitialUpdate();
    }

protected:
    void OnDestroy() override { Events() << QStringLiteral("view destroyed"); }
};

// The page frame of the program: no system menu, no minimise box.
class PageFrame : public CMDIChildWndEx
{
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (!CMDIChildWndEx::PreCreateWindow(cs))
            return FALSE;
        cs.style &= ~(WS_SYSMENU | WS_MINIMIZEBOX);
        return TRUE;
    }
};

class MainFrame : public CMDIFrameWndEx
{
public:
    using CMDIFrameWndEx::CMDIFrameWndEx;
    int m_nCreateResult = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override
    {
        if (CMDIFrameWndEx::OnCreate(lpCreateStruct) == -1)
            return -1;
        Events() << QStringLiteral("frame created");
        return m_nCreateResult;
    }
};

class TestApp : public CWinAppEx
{
public:
    TestApp()
        : CWinAppEx(QStringLiteral("Kestrel framework test"))
    {
        MapCommand(kFileNew, &CWinApp::OnFileNew);
        MapCommand(kFileOpen, &CWinApp::OnFileOpen);
    }
};

// An application with a loaded main frame; templates are the test's to add.
class PageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Events().clear();
        AfxSetStringResourceLoader(&LoadTestString);
        m_pFrame = new MainFrame;
        m_app.m_pMainWnd = m_pFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(kMainFrameId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_pFrame->resize(900, 640);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        m_app.m_pMainWnd = nullptr;
        delete m_pFrame;
        AfxSetStringResourceLoader(nullptr);
    }

    template <class TDoc, class TFrame = PageFrame, class TView = PageView>
    CMultiDocTemplate* AddTemplate(UINT nIDResource = kPageId)
    {
        auto* pTemplate =
            new CMultiDocTemplate(nIDResource, RUNTIME_CLASS(TDoc), RUNTIME_CLASS(TFrame), RUNTIME_CLASS(TView));
        m_app.AddDocTemplate(pTemplate);
        return pTemplate;
    }

    TestApp m_app;
    QPointer<MainFrame> m_pFrame;
};

}
