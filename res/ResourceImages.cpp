#include "res/ResourceImages.h"

#include "res/Resource.h"

namespace ResourceImages {

QString BitmapPath(UINT nID)
{
    return QStringLiteral(":/bitmaps/%1.png").arg(nID);
}

QPixmap LoadBitmap(UINT nID)
{
    return QPixmap(BitmapPath(nID));
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(IDR_MAINFRAME).arg(size), QSize(size, size));
    return icon;
}

}
