#include "frame/WindowPlacement.h"

#include "fw/CFrameWnd.h"
#include "fw/CRect.h"
#include "fw/CWinApp.h"
#include "settings/SettingsStore.h"

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

// Qt's platform plug-ins for Wayland sessions are all named so.
constexpr char kWaylandPlatformPrefix[] = "wayland";

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

bool CanPlaceWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String(kWaylandPlatformPrefix));
}

// A placement stored under Wayland may have a size and no position; its
// rectangle then starts at 0,0.
bool IsPositionSaved(CWinAppEx& app)
{
    return app.GetInt(kPlacementLeft, kNotSaved) != kNotSaved && app.GetInt(kPlacementTop, kNotSaved) != kNotSaved;
}

QPoint SavedPosition(CWinAppEx& app)
{
    if (!IsPositionSaved(app))
        return QPoint(0, 0);
    return QPoint(app.GetInt(kPlacementLeft, 0), app.GetInt(kPlacementTop, 0));
}
}

namespace WindowPlacement {

BOOL Reload(CFrameWnd* pFrame)
{
    CWinAppEx* pApp = WorkspaceOwner();
    if (pFrame == nullptr || pApp == nullptr)
        return FALSE;
    const int nRight = pApp->GetInt(kPlacementRight, kNotSaved);
    const int nBottom = pApp->GetInt(kPlacementBottom, kNotSaved);
    if (nRight == kNotSaved || nBottom == kNotSaved)
        return FALSE;
    const QPoint position = SavedPosition(*pApp);
    const CRect rectNormal(position.x(), position.y(), nRight, nBottom);
    if (rectNormal.IsRectEmpty())
        return FALSE;
    if (!CanPlaceWindows()) {
        // The desktop places the window; a maximised one comes back
        // maximised, as the desktop's own programs do.
        pFrame->resize(rectNormal.ToQRect().size());
        if (pApp->GetInt(kPlacementShowCmd, SW_SHOWNORMAL) == SW_SHOWMAXIMIZED)
            pFrame->setWindowState(pFrame->windowState() | Qt::WindowMaximized);
        return TRUE;
    }
    // Whatever show state was saved, the window comes back normal and
    // hidden: only the start-up or the tray shows it.
    if (IsPositionSaved(*pApp))
        pFrame->setGeometry(OnSomeScreen(rectNormal.ToQRect()));
    else
        pFrame->resize(rectNormal.ToQRect().size());
    return TRUE;
}

void Store(CFrameWnd* pFrame)
{
    CWinAppEx* pApp = WorkspaceOwner();
    if (pFrame == nullptr || pApp == nullptr)
        return;
    QRect normal = pFrame->normalGeometry().isValid() ? pFrame->normalGeometry() : pFrame->geometry();
    if (CanPlaceWindows()) {
        WriteWorkspaceInt(kPlacementLeft, normal.left());
        WriteWorkspaceInt(kPlacementTop, normal.top());
    } else {
        // Under Wayland the position reads as 0,0 wherever the window is:
        // the one stored before stays, and the size is kept against it.
        normal.moveTopLeft(SavedPosition(*pApp));
    }
    const CRect rect(normal);
    int nShowCmd = SW_SHOWNORMAL;
    if (pFrame->isMaximized())
        nShowCmd = SW_SHOWMAXIMIZED;
    else if (pFrame->isMinimized())
        nShowCmd = SW_SHOWMINIMIZED;
    WriteWorkspaceInt(kPlacementRight, rect.right);
    WriteWorkspaceInt(kPlacementBottom, rect.bottom);
    WriteWorkspaceInt(kPlacementFlags, 0);
    WriteWorkspaceInt(kPlacementShowCmd, nShowCmd);
}

}
