#include "fw/SystemMetrics.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace {
// A dialog frame is the thin fixed border of a dialog window.
constexpr int kDialogFrameWidth = 3;
}

int GetSystemMetrics(int nIndex)
{
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    switch (nIndex) {
    case SM_CXSCREEN:
        return pScreen != nullptr ? pScreen->geometry().width() : 0;
    case SM_CYSCREEN:
        return pScreen != nullptr ? pScreen->geometry().height() : 0;
    case SM_CYCAPTION:
        return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return kDialogFrameWidth;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return QApplication::style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    default:
        return 0;
    }
}
