#pragma once

#include <QImage>
#include <QWidget>

class IMediaEngine;

// The area that a TV channel's pictures are shown in: an ordinary widget
// that the engine's pictures are drawn into, at the widget's own size, so it
// works the same on every desktop and holds no window of another program's.
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
    void DrawFrame();

    IMediaEngine& m_engine;
    // The picture as the engine drew it, its pixels' top byte as it came
    // until the picture is first painted where that byte counts.
    QImage m_frame;
    bool m_bFrameOpaque = false;
    int m_nFramesShown = 0;
};
