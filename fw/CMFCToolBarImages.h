#pragma once

#include "fw/Types.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

// A strip of equally sized images side by side, such as a toolbar or
// ribbon bitmap: image i is the i-th square from the left.
class CMFCToolBarImages
{
public:
    void SetImageSize(CSize sizeImage);
    CSize GetImageSize() const { return m_sizeImage; }

    BOOL Load(const QImage& strip);
    BOOL Load(const QPixmap& strip);
    // From an image file or a Qt resource path.
    BOOL Load(const CString& strPath);
    BOOL IsValid() const { return m_strip.isNull() ? FALSE : TRUE; }

    int GetCount() const;
    // Image nIndex; a null pixmap when the strip has no such image.
    QPixmap GetImage(int nIndex) const;
    QIcon ExtractIcon(int nIndex) const;

private:
    CSize m_sizeImage{16, 16};
    QImage m_strip;
};
