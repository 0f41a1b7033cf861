#include "radio/VideoSurface.h"

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
