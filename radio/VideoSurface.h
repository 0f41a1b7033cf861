#pragma once

#include <QWidget>

// The area that a TV channel's pictures are drawn into: a native window of
// its own, so that the media engine can draw into it directly.
class CVideoSurface : public QWidget
{
    Q_OBJECT

public:
    explicit CVideoSurface(QWidget* pParent = nullptr);

signals:
    // The native window is about to be destroyed: whoever draws into it
    // stops before the slot returns.
    void NativeWindowGoing();
    // The native window was made anew; whoever draws into it takes the new
    // one.
    void NativeWindowChanged();

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
};
