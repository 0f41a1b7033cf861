#pragma once

#include <QWidget>

// The area that a TV channel's pictures are drawn into: a native window of
// its own, so that the media engine can draw into it directly.
class CVideoSurface : public QWidget
{
    Q_OBJECT

public:
    explicit CVideoSurface(QWidget* pParent = nullptr);
};
