#include "PageFixture.h"

#include "fw/CDocManager.h"
#include "fw/CMFCWindowsManagerDialog.h"
#include "fw/CNewTypeDlg.h"
#include "fw/WindowMessages.h"

#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace PageFixture;

namespace {

CRect g_fittedPage;

// Maximises its page, then fits the page to the form, as the program's
// pages do in their first update.
class MaximisedFittingView : public PageView
{
public:
    void OnInitialUpdate() override
    {
        GetParentFrame()->ShowWindow(SW_SHOWMAXIMIZED);
        GetParentFrame()->RecalcLayout();
        ResizeParentToFit(FALSE);
        GetParentFrame()->GetWindowRect(&g_fittedPage);
    }
};

class FittingView : public PageView
{
public:
    void OnInitialUpdate() override { ResizeParentToFit(FALSE); }
};

class HidingFrame : public MainFrame
{
protected:
    void OnClose() override { ShowWindow(SW_HIDE); }
};

class DocumentTemplateTest : public PageTest
{
protected:
    CView* ViewOf(CDocument* pDoc) const
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        return pDoc->GetNextView(pos);
    }
};

TEST_F(DocumentTemplateTest, OpeningADocumentMakesDocumentFrameAndViewAndRunsTheirUpdates)
{
    CMultiDocTemplate* pTemplate = AddTemplate<PageDoc>();
    Events().clear();

    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(Events(), (QStringList{"new document 'Page1'", "initial update of 'Page1', in a frame: yes"}));
    EXPECT_EQ(pDoc->GetDocTemplate(), pTemplate);

    CView* pView = ViewOf(pDoc);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetDocument(), pDoc);
    auto* pChild = dynamic_cast<PageFrame*>(pView->GetParentFrame());
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->GetActiveView(), pView);
    EXPECT_EQ(pChild->GetParentFrame(), m_pFrame.data());
    EXPECT_EQ(m_pFrame->MDIGetActive(), pChild);
    EXPECT_EQ(m_pFrame->GetActiveDocument(), pDoc);
    EXPECT_FALSE(pChild->GetSubWindow()->isHidden());
    EXPECT_EQ(m_pFrame->GetWindowText(), QStringLiteral("Test Main Frame - Page1"));

    CDocument* pSecond = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pSecond->GetTitle(), QStringLiteral("Page2"));
    EXPECT_EQ(pTemplate->GetDocuments(), (QList<CDocument*>{pDoc, pSecond}));
}

TEST_F(DocumentTemplateTest, ADocumentThatRefusesItsTitleLeavesTheCaptionAlone)
{
    AddTemplate<UntitledDoc>()->OpenDocumentFile(nullptr);
    EXPECT_EQ(Events().last(), QStringLiteral("initial update of '', in a frame: yes"));
    EXPECT_EQ(m_pFrame->GetWindowText(), QStringLiteral("Test Main Frame"));
}

TEST_F(DocumentTemplateTest, CloseAllDocumentsDestroysEveryPageBeforeItReturns)
{
    CMultiDocTemplate* pTemplate = AddTemplate<PageDoc>();
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    QPointer<CView> pView = ViewOf(pDoc);
    QPointer<CFrameWnd> pChild = pView->GetParentFrame();
    QPointer<QMdiSubWindow> pSubWindow = dynamic_cast<CMDIChildWndEx*>(pChild.data())->GetSubWindow();
    Events().clear();

    m_app.CloseAllDocuments(FALSE);
    EXPECT_EQ(Events(), (QStringList{"view destroyed", "document deleted"}));
    EXPECT_TRUE(pView.isNull());
    EXPECT_TRUE(pChild.isNull());
    EXPECT_TRUE(pSubWindow.isNull());
    EXPECT_EQ(PageDoc::s_nAlive, 0);
    EXPECT_TRUE(pTemplate->GetDocuments().isEmpty());
    EXPECT_TRUE(m_pFrame->GetMDIChildren().isEmpty());
    EXPECT_EQ(m_pFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
}

TEST_F(DocumentTemplateTest, FileNewOpensASecondPageBesideTheFirst)
{
    AddTemplate<PageDoc>();
    m_pFrame->SendMessage(WM_COMMAND, kFileNew);
    m_pFrame->SendMessage(WM_COMMAND, kFileNew);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 2);
    EXPECT_EQ(m_pFrame->GetMDIChildren().size(), 2);
    EXPECT_EQ(m_pFrame->GetActiveDocument()->GetTitle(), QStringLiteral("Page2"));

    // Open asks for a file without blocking; cancelled, it opens nothing.
    m_pFrame->SendMessage(WM_COMMAND, kFileOpen);
    auto* pOpenDialog = m_pFrame->findChild<QFileDialog*>();
    ASSERT_NE(pOpenDialog, nullptr);
    EXPECT_TRUE(pOpenDialog->isVisible());
    pOpenDialog->reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 2);
}

TEST_F(DocumentTemplateTest, FileNewWithSeveralTemplatesLetsTheUserPickOneWithoutBlocking)
{
    AddTemplate<PageDoc>(kPageId);
    CMultiDocTemplate* pOther = AddTemplate<PageDoc>(kOtherPageId);
    m_pFrame->show();

    m_app.OnFileNew();
    auto* pDialog = m_pFrame->findChild<CNewTypeDlg*>();
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
    ASSERT_EQ(pDialog->GetList()->count(), 2);
    EXPECT_EQ(pDialog->GetList()->item(0)->text(), QStringLiteral("Page Kind"));
    EXPECT_EQ(pDialog->GetList()->item(1)->text(), QStringLiteral("Other Kind"));

    pDialog->GetList()->setCurrentRow(1);
    pDialog->accept();
    ASSERT_EQ(pOther->GetDocuments().size(), 1);
    EXPECT_EQ(pOther->GetDocuments().first()->GetTitle(), QStringLiteral("Other1"));
}

TEST_F(DocumentTemplateTest, PageFramesLoseTheSystemMenuAndMinimiseBox)
{
    CDocument* pDoc = AddTemplate<PageDoc>()->OpenDocumentFile(nullptr);
    auto* pChild = dynamic_cast<CMDIChildWndEx*>(ViewOf(pDoc)->GetParentFrame());
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->GetStyle() & (WS_SYSMENU | WS_MINIMIZEBOX), 0u);
    EXPECT_NE(pChild->GetStyle() & WS_MAXIMIZEBOX, 0u);
    const Qt::WindowFlags flags = pChild->GetSubWindow()->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));

    // Maximised, the page fills the client area without a caption.
    pChild->MDIMaximize();
    EXPECT_TRUE(pChild->IsMaximized());
    EXPECT_TRUE(pChild->GetSubWindow()->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(DocumentTemplateTest, ResizeParentToFitSizesAMaximisedPageToItsFormUntilTheMessageIsDone)
{
    // The page's rectangle is the form's size for the rest of that update
    // (the main window is sized from it), and the page fills the client
    // area again right after.
    m_pFrame->show();
    CDocument* pDoc = AddTemplate<PageDoc, PageFrame, MaximisedFittingView>()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(g_fittedPage.Width(), kFormWidth);
    EXPECT_EQ(g_fittedPage.Height(), kFormHeight);

    QCoreApplication::processEvents();
    auto* pChild = dynamic_cast<CMDIChildWndEx*>(ViewOf(pDoc)->GetParentFrame());
    EXPECT_TRUE(pChild->IsMaximized());
    EXPECT_EQ(pChild->GetSubWindow()->size(), m_pFrame->GetMDIClient()->viewport()->size());
}

TEST_F(DocumentTemplateTest, ResizeParentToFitAddsThePageCaptionAroundTheForm)
{
    m_pFrame->show();
    CDocument* pDoc = AddTemplate<PageDoc, PageFrame, FittingView>()->OpenDocumentFile(nullptr);
    CView* pView = ViewOf(pDoc);
    QCoreApplication::processEvents();
    EXPECT_EQ(pView->size(), QSize(kFormWidth, kFormHeight));
    CRect pageRect;
    pView->GetParentFrame()->GetWindowRect(&pageRect);
    EXPECT_GT(pageRect.Height(), kFormHeight);
}

TEST_F(DocumentTemplateTest, TheWindowsDialogListsThePagesAndClosesTheChosenOnes)
{
    AddTemplate<PageDoc>();
    m_app.OnFileNew();
    m_app.OnFileNew();
    m_app.OnFileNew();
    m_pFrame->show();

    m_pFrame->ShowWindowsDialog();
    auto* pDialog = m_pFrame->findChild<CMFCWindowsManagerDialog*>();
    ASSERT_NE(pDialog, nullptr);
    QListWidget* pList = pDialog->GetList();
    ASSERT_EQ(pList->count(), 3);
    EXPECT_EQ(pList->item(0)->text(), QStringLiteral("Page1"));
    EXPECT_EQ(pList->currentRow(), 2);

    pList->clearSelection();
    pList->item(1)->setSelected(true);
    pDialog->OnCloseWindows();
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 2);
    ASSERT_EQ(pList->count(), 2);
    EXPECT_EQ(pList->item(1)->text(), QStringLiteral("Page3"));

    pList->setCurrentRow(0);
    pDialog->OnActivate();
    EXPECT_EQ(m_pFrame->GetActiveDocument()->GetTitle(), QStringLiteral("Page1"));
}

TEST_F(DocumentTemplateTest, AFrameWhoseCreationFailsIsNotLoaded)
{
    MainFrame refusing;
    refusing.m_nCreateResult = -1;
    EXPECT_FALSE(refusing.LoadFrame(kMainFrameId));
    EXPECT_TRUE(refusing.IsDestroyed());
}

TEST_F(DocumentTemplateTest, ClosingTheMainWindowClosesItsPagesAndDestroysIt)
{
    QPointer<HidingFrame> pHiding = new HidingFrame;
    ASSERT_TRUE(pHiding->LoadFrame(kMainFrameId));
    pHiding->show();
    EXPECT_FALSE(pHiding->close());
    EXPECT_FALSE(pHiding->isVisible());
    EXPECT_FALSE(pHiding->IsDestroyed());
    delete pHiding;

    AddTemplate<PageDoc>()->OpenDocumentFile(nullptr);
    m_pFrame->show();
    Events().clear();
    m_pFrame->close();
    EXPECT_EQ(Events(), (QStringList{"view destroyed", "document deleted"}));
    EXPECT_TRUE(m_pFrame->IsDestroyed());
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    // The frame deletes itself once the event loop runs again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_pFrame.isNull());
}

}
