#pragma once

#include "fw/Types.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's compiled-in images: the bitmap strips by id and icon 128.
namespace ResourceImages {
// The resource path of bitmap nID (110-113).
QString BitmapPath(UINT nID);
// Bitmap nID; a null pixmap when there is no such bitmap.
QPixmap LoadBitmap(UINT nID);
// Icon 128, the application icon, at every size it is drawn in.
QIcon ApplicationIcon();
}
