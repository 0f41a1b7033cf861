#include "radio/VideoSurface.h"

#include <QEvent>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <QPalette>

CVideoSurface::CVideoSurface(QWidget* pParent)
    : QWidget(pParent)
{
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
}

bool CVideoSurface::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::WinIdChange) {
        // Only the window itself is told before its native surface goes.
        if (QWindow* pWindow = windowHandle())
            pWindow->installEventFilter(this);
        emit NativeWindowChanged();
    }
    return QWidget::event(pEvent);
}

bool CVideoSurface::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::PlatformSurface
        && static_cast<QPlatformSurfaceEvent*>(pEvent)->surfaceEventType()
               == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
        emit NativeWindowGoing();
    return QWidget::eventFilter(pWatched, pEvent);
}
