#include "frame/WindowPlacement.h"

#include "fw/CFrameWnd.h"
#include "fw/CRect.h"
#include "fw/CWinApp.h"

#include <QGuiApplication>
#include <QScreen>
#include <climits>

namespace {
// The main window's saved placement, in the workspace store.
constexpr char kPlacementLeft[] = "MainWindowLeft";
constexpr char kPlacementTop[] = "MainWindowTop";
constexpr char kPlacementRight[] = "MainWindowRight";
constexpr char kPlacementBottom[] = "MainWindowBottom";
constexpr char kPlacementFlags[] = "MainWindowFlags";
constexpr char kPlacementShowCmd[] = "MainWindowShowCmd";
constexpr int kNotSaved = INT_MIN;

CWinAppEx* WorkspaceOwner()
{
    return dynamic_cast<CWinAppEx*>(AfxGetApp());
}

// A rectangle no screen shows any more (a monitor that went) is moved onto
// the primary screen, so the window cannot come back out of reach.
QRect OnSomeScreen(QRect rect)
{
    for (const QScreen* pScreen : QGuiApplication::screens()) {
        if (pScreen->availableGeometry().intersects(rect))
            return rect;
    }
    if (const QScreen* pPrimary = QGuiApplication::primaryScreen()) {
        const QRect available = pPrimary->availableGeometry();
        rect.setSize(rect.size().boundedTo(available.size()));
        rect.moveTopLeft(available.topLeft());
    }
    return rect;
}
}

namespace WindowPlacement {

BOOL Reload(CFrameWnd* pFrame)
{
    CWinAppEx* pApp = WorkspaceOwner();
    if (pFrame == nullptr || pApp == nullptr)
        return FALSE;
    const int nLeft = pApp->GetInt(kPlacementLeft, kNotSaved);
    const int nTop = pApp->GetInt(kPlacementTop, kNotSaved);
    const int nRight = pApp->GetInt(kPlacementRight, kNotSaved);
    const int nBottom = pApp->GetInt(kPlacementBottom, kNotSaved);
    if (nLeft == kNotSaved || nTop == kNotSaved || nRight == kNotSaved || nBottom == kNotSaved)
        return FALSE;
    const CRect rectNormal(nLeft, nTop, nRight, nBottom);
    if (rectNormal.IsRectEmpty())
        return FALSE;
    // Whatever show state was saved, the window comes back normal and
    // hidden: only the start-up or the tray shows it.
    pFrame->setGeometry(OnSomeScreen(rectNormal.ToQRect()));
    return TRUE;
}

void Store(CFrameWnd* pFrame)
{
    CWinAppEx* pApp = WorkspaceOwner();
    if (pFrame == nullptr || pApp == nullptr)
        return;
    const QRect normal = pFrame->normalGeometry().isValid() ? pFrame->normalGeometry() : pFrame->geometry();
    const CRect rect(normal);
    int nShowCmd = SW_SHOWNORMAL;
    if (pFrame->isMaximized())
        nShowCmd = SW_SHOWMAXIMIZED;
    else if (pFrame->isMinimized())
        nShowCmd = SW_SHOWMINIMIZED;
    pApp->WriteInt(kPlacementLeft, rect.left);
    pApp->WriteInt(kPlacementTop, rect.top);
    pApp->WriteInt(kPlacementRight, rect.right);
    pApp->WriteInt(kPlacementBottom, rect.bottom);
    pApp->WriteInt(kPlacementFlags, 0);
    pApp->WriteInt(kPlacementShowCmd, nShowCmd);
}

}
