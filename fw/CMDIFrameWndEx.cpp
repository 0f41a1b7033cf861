#include "fw/CMDIFrameWndEx.h"

#include "fw/CCmdUI.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CMFCVisualManager.h"
#include "fw/CMFCWindowsManagerDialog.h"
#include "fw/StringResources.h"
#include "fw/WindowMessages.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QWindow>

namespace {
// The border a frame keeps for resizing once its caption is drawn by a bar.
constexpr int kResizeBorder = 4;
// A new main window's size when nothing else gives one.
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 720;
}

CMDIFrameWndEx::CMDIFrameWndEx(QWidget* pParent)
    : CFrameWnd(pParent)
{
    connect(CMFCVisualManager::GetInstance(), &CMFCVisualManager::LookChanged, this, [this] { update(); });
}

CMDIFrameWndEx::~CMDIFrameWndEx()
{
    if (!m_accelerators.isEmpty())
        qApp->removeEventFilter(this);
}

BOOL CMDIFrameWndEx::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    SetTitle(AfxExtractSubString(AfxLoadString(nIDResource), 0));
    CREATESTRUCT cs;
    cs.style = dwDefaultStyle;
    cs.lpszName = GetTitle();
    cs.lpCreateParams = pContext;
    cs.cx = kDefaultWidth;
    cs.cy = kDefaultHeight;
    if (!PreCreateWindow(cs))
        return FALSE;
    SetStyle(cs.style);
    if (pParentWnd != nullptr)
        setParent(pParentWnd, Qt::Window);
    ApplyStyle();
    resize(cs.cx, cs.cy);
    SetWindowText(cs.lpszName);
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // The caller still holds the frame and deletes it.
        m_bAutoDelete = FALSE;
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CMDIFrameWndEx::ApplyStyle()
{
    const DWORD style = GetStyle();
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    flags |= m_bCaptionReplaced ? Qt::WindowFlags(Qt::FramelessWindowHint) : CaptionHintsOfStyle(style);
    if (windowFlags() != flags) {
        const bool bHidden = isHidden();
        setWindowFlags(flags);
        setHidden(bHidden);
    }
}

BOOL CMDIFrameWndEx::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    m_pMDIClient = new QMdiArea(this);
    m_pMDIClient->setObjectName(QStringLiteral("mdiClient"));
    m_pMDIClient->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMDIClient->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_pMDIClient, &QMdiArea::subWindowActivated, this, &CMDIFrameWndEx::OnSubWindowActivated);
    SetClientWidget(m_pMDIClient);
    return TRUE;
}

BOOL CMDIFrameWndEx::LoadAccelTable(const QList<ACCEL>& table)
{
    if (m_accelerators.isEmpty() && !table.isEmpty())
        qApp->installEventFilter(this);
    else if (!m_accelerators.isEmpty() && table.isEmpty())
        qApp->removeEventFilter(this);
    m_accelerators = table;
    return TRUE;
}

CMDIChildWndEx* CMDIFrameWndEx::MDIGetActive(BOOL* pbMaximized) const
{
    CMDIChildWndEx* pActive = m_pActiveChild.data();
    if (pActive == nullptr || pActive->IsDestroyed()) {
        pActive = nullptr;
        // The area forgets its active page while the program is not the
        // desktop's active one; the frame keeps the one it had.
        if (m_pMDIClient != nullptr) {
            QMdiSubWindow* pSubWindow = m_pMDIClient->currentSubWindow();
            const QList<QMdiSubWindow*> subWindows = m_pMDIClient->subWindowList(QMdiArea::ActivationHistoryOrder);
            if (pSubWindow == nullptr && !subWindows.isEmpty())
                pSubWindow = subWindows.last();
            if (pSubWindow != nullptr)
                pActive = dynamic_cast<CMDIChildWndEx*>(pSubWindow->widget());
        }
    }
    if (pbMaximized != nullptr)
        *pbMaximized = pActive != nullptr ? pActive->IsMaximized() : FALSE;
    return pActive;
}

void CMDIFrameWndEx::MDIActivate(CWnd* pWndActivate)
{
    auto* pChild = dynamic_cast<CMDIChildWndEx*>(pWndActivate);
    if (pChild == nullptr || pChild->GetSubWindow() == nullptr || m_pMDIClient == nullptr)
        return;
    m_pActiveChild = pChild;
    m_pMDIClient->setActiveSubWindow(pChild->GetSubWindow());
    OnUpdateFrameTitle(TRUE);
}

QList<CMDIChildWndEx*> CMDIFrameWndEx::GetMDIChildren() const
{
    QList<CMDIChildWndEx*> children;
    if (m_pMDIClient == nullptr)
        return children;
    for (QMdiSubWindow* pSubWindow : m_pMDIClient->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* pChild = dynamic_cast<CMDIChildWndEx*>(pSubWindow->widget());
            pChild != nullptr && !pChild->IsDestroyed())
            children.append(pChild);
    }
    return children;
}

void CMDIFrameWndEx::OnSubWindowActivated(QMdiSubWindow* pSubWindow)
{
    if (pSubWindow == nullptr)
        return;
    if (auto* pChild = dynamic_cast<CMDIChildWndEx*>(pSubWindow->widget());
        pChild != nullptr && !pChild->IsDestroyed()) {
        m_pActiveChild = pChild;
        OnUpdateFrameTitle(TRUE);
    }
}

CFrameWnd* CMDIFrameWndEx::GetActiveChildFrame() const
{
    return MDIGetActive();
}

CDocument* CMDIFrameWndEx::GetActiveDocument() const
{
    CMDIChildWndEx* pActive = MDIGetActive();
    return pActive != nullptr ? pActive->GetActiveDocument() : nullptr;
}

void CMDIFrameWndEx::ShowWindowsDialog()
{
    auto* pDialog = new CMFCWindowsManagerDialog(this);
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    pDialog->open();
}

void CMDIFrameWndEx::SetCaptionReplaced(BOOL bReplaced)
{
    m_bCaptionReplaced = bReplaced != FALSE;
    const int nBorder = m_bCaptionReplaced ? kResizeBorder : 0;
    FrameLayout()->setContentsMargins(nBorder, nBorder, nBorder, nBorder);
    setMouseTracking(m_bCaptionReplaced);
    ApplyStyle();
}

void CMDIFrameWndEx::closeEvent(QCloseEvent* pEvent)
{
    // The window decides in OnClose whether it really goes.
    pEvent->ignore();
    if (!IsDestroyed())
        SendMessage(WM_CLOSE);
}

bool CMDIFrameWndEx::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress && TranslateAccelerator(pWatched, static_cast<QKeyEvent&>(*pEvent)))
        return true;
    return CFrameWnd::eventFilter(pWatched, pEvent);
}

bool CMDIFrameWndEx::TranslateAccelerator(QObject* pReceiver, const QKeyEvent& keyEvent)
{
    const auto* pWidget = qobject_cast<const QWidget*>(pReceiver);
    if (pWidget == nullptr || pWidget->window() != this || IsDestroyed())
        return false;
    const QKeyCombination pressed(keyEvent.modifiers() & ~Qt::KeypadModifier, Qt::Key(keyEvent.key()));
    for (const ACCEL& accel : std::as_const(m_accelerators)) {
        if (accel.key != pressed)
            continue;
        // Only a command that something on the route handles takes the
        // key; otherwise the control with the focus gets it.
        CCmdUI state(accel.cmd);
        state.DoUpdate(this);
        if (!state.IsEnabled())
            return false;
        SendMessage(WM_COMMAND, accel.cmd);
        return true;
    }
    return false;
}

Qt::Edges CMDIFrameWndEx::EdgesAt(const QPoint& point) const
{
    Qt::Edges edges;
    if (!m_bCaptionReplaced || (GetStyle() & WS_THICKFRAME) == 0 || isMaximized())
        return edges;
    if (point.x() < kResizeBorder)
        edges |= Qt::LeftEdge;
    if (point.x() >= width() - kResizeBorder)
        edges |= Qt::RightEdge;
    if (point.y() < kResizeBorder)
        edges |= Qt::TopEdge;
    if (point.y() >= height() - kResizeBorder)
        edges |= Qt::BottomEdge;
    return edges;
}

void CMDIFrameWndEx::mousePressEvent(QMouseEvent* pEvent)
{
    const Qt::Edges edges = EdgesAt(pEvent->position().toPoint());
    if (pEvent->button() == Qt::LeftButton && edges != Qt::Edges() && windowHandle() != nullptr) {
        windowHandle()->startSystemResize(edges);
        return;
    }
    CFrameWnd::mousePressEvent(pEvent);
}

void CMDIFrameWndEx::mouseMoveEvent(QMouseEvent* pEvent)
{
    const Qt::Edges edges = EdgesAt(pEvent->position().toPoint());
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if ((edges & (Qt::LeftEdge | Qt::RightEdge)) != 0)
        setCursor(Qt::SizeHorCursor);
    else if ((edges & (Qt::TopEdge | Qt::BottomEdge)) != 0)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    CFrameWnd::mouseMoveEvent(pEvent);
}

void CMDIFrameWndEx::paintEvent(QPaintEvent* pEvent)
{
    if (!m_bCaptionReplaced) {
        CFrameWnd::paintEvent(pEvent);
        return;
    }
    // The border in the caption's colour frames the window as the desktop's
    // title bar would.
    QPainter painter(this);
    painter.fillRect(rect(), CMFCVisualManager::GetInstance()->GetLook().caption);
}
