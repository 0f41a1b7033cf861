#include "radio/VideoSurface.h"

#include "platform/media/MediaEngine.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <new>

namespace {
// The engine scales fastest into lines that start on this boundary.
constexpr std::size_t kLineAlignment = 64;

QImage AlignedImage(QSize size)
{
    const qsizetype nStride = (qsizetype(size.width()) * 4 + qsizetype(kLineAlignment) - 1) /
        qsizetype(kLineAlignment) * qsizetype(kLineAlignment);
    auto* pData = static_cast<uchar*>(
        ::operator new[](std::size_t(nStride) * std::size_t(size.height()), std::align_val_t(kLineAlignment)));
    return QImage(
        pData, size.width(), size.height(), nStride, QImage::Format_RGB32,
        [](void* p) { ::operator delete[](p, std::align_val_t(kLineAlignment)); }, pData);
}

// Whether what the painter paints on keeps an alpha channel: the window's
// backing store does on Wayland (shared-memory buffers with alpha), not on
// X11. The picture is copied into it as it is, top byte and all.
bool KeepsAlpha(QPainter& painter)
{
    const QPaintDevice* pTarget = painter.paintEngine()->paintDevice();
    return pTarget == nullptr || pTarget->devType() != QInternal::Image ||
        static_cast<const QImage*>(pTarget)->hasAlphaChannel();
}

void MakeOpaque(QImage& image)
{
    const int nWidth = image.width();
    const int nHeight = image.height();
    for (int y = 0; y < nHeight; ++y) {
        auto* pLine = reinterpret_cast<quint32*>(image.scanLine(y));
        std::for_each(pLine, pLine + nWidth, [](quint32& pixel) { pixel |= 0xff000000u; });
    }
}
}

CVideoSurface::CVideoSurface(IMediaEngine& engine, QWidget* pParent)
    : QWidget(pParent)
    , m_engine(engine)
{
    // Every pixel is painted: the picture, or black until there is one.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_engine, &IMediaEngine::VideoFrameReady, this, &CVideoSurface::DrawFrame);
}

void CVideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The engine leaves the top byte of each pixel as it likes (mostly 0):
    // where the window keeps alpha, it would show the picture see-through.
    if (!m_bFrameOpaque && KeepsAlpha(painter)) {
        MakeOpaque(m_frame);
        m_bFrameOpaque = true;
    }
    const QRect picture = LogicalRect(m_picture);
    // The bars around it; clipped away when only the picture is repainted.
    for (const QRect& bar : QRegion(rect()).subtracted(picture))
        painter.fillRect(bar, Qt::black);
    painter.drawImage(picture, m_frame);
}

void CVideoSurface::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    // A paused picture is drawn again at the new size.
    if (m_engine.HasVideo())
        DrawFrame();
}

void CVideoSurface::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    if (m_engine.HasVideo())
        DrawFrame();
}

void CVideoSurface::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    // The next channel's pictures never start on this one's last.
    m_frame = QImage();
    m_picture = QRect();
}

QRect CVideoSurface::PictureRect(QSize area) const
{
    const QSize picture = m_engine.VideoSize();
    if (picture.isEmpty())
        return QRect(QPoint(0, 0), area);
    const QSize fitted = picture.scaled(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2), fitted);
}

QRect CVideoSurface::LogicalRect(const QRect& pixels) const
{
    const qreal dRatio = devicePixelRatio();
    return QRectF(QPointF(pixels.topLeft()) / dRatio, QSizeF(pixels.size()) / dRatio).toAlignedRect();
}

void CVideoSurface::DrawFrame()
{
    const QRect picture = PictureRect(size() * devicePixelRatio());
    if (!isVisible() || picture.isEmpty()) {
        m_engine.SkipVideoFrame();
        return;
    }
    if (m_frame.size() != picture.size()) {
        m_frame = AlignedImage(picture.size());
        m_frame.setDevicePixelRatio(devicePixelRatio());
    }
    if (!m_engine.RenderVideoFrame(m_frame))
        return;
    m_bFrameOpaque = false;
    ++m_nFramesShown;
    // Only the picture changes from one to the next; the bars are painted
    // again when it moves.
    if (picture == m_picture) {
        update(LogicalRect(picture));
    } else {
        m_picture = picture;
        update();
    }
}
