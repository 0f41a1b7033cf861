#include "fw/CMFCToolBarImages.h"

void CMFCToolBarImages::SetImageSize(CSize sizeImage)
{
    m_sizeImage = sizeImage;
}

BOOL CMFCToolBarImages::Load(const QImage& strip)
{
    m_strip = strip;
    return IsValid();
}

BOOL CMFCToolBarImages::Load(const QPixmap& strip)
{
    return Load(strip.toImage());
}

BOOL CMFCToolBarImages::Load(const CString& strPath)
{
    return Load(QImage(strPath));
}

int CMFCToolBarImages::GetCount() const
{
    if (m_strip.isNull() || m_sizeImage.width() <= 0)
        return 0;
    return m_strip.width() / m_sizeImage.width();
}

QPixmap CMFCToolBarImages::GetImage(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return QPixmap();
    const QRect square(nIndex * m_sizeImage.width(), 0, m_sizeImage.width(),
                       qMin(m_sizeImage.height(), m_strip.height()));
    return QPixmap::fromImage(m_strip.copy(square));
}

QIcon CMFCToolBarImages::ExtractIcon(int nIndex) const
{
    const QPixmap image = GetImage(nIndex);
    return image.isNull() ? QIcon() : QIcon(image);
}
