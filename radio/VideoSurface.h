#pragma once

#include <QImage>
#include <QWidget>

class IMediaEngine;

// The area that a TV channel's pictures are shown in: an ordinary widget
// that the engine's pictures are drawn into, as large as they fit in it, so
// it works the same on every desktop and holds no window of another
// program's. Each new picture repaints only itself, not the bars around it.
// While no one can see it, the pictures go undrawn.
class CVideoSurface : public QWidget
{
    Q_OBJECT

public:
    explicit CVideoSurface(IMediaEngine& engine, QWidget* pParent = nullptr);

    // Pictures drawn since the surface was made.
    int FramesShown() const { return m_nFramesShown; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    // Where the picture goes in an area of that many device pixels: as large
    // as fits at the picture's own aspect, in the middle, with black bars
    // around; the whole area while the engine does not know the aspect (it
    // then draws the bars itself).
    QRect PictureRect(QSize area) const;
    QRect LogicalRect(const QRect& pixels) const;
    void DrawFrame();

    IMediaEngine& m_engine;
    // The picture as the engine drew it, its pixels' top byte as it came
    // until the picture is first painted where that byte counts.
    QImage m_frame;
    bool m_bFrameOpaque = false;
    // Where m_frame goes, in device pixels.
    QRect m_picture;
    int m_nFramesShown = 0;
};
