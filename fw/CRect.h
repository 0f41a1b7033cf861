#pragma once

#include "fw/Types.h"

#include <QRect>

// A rectangle by its edges, right and bottom exclusive, as window
// rectangles are given.
class CRect
{
public:
    CRect() = default;
    CRect(LONG l, LONG t, LONG r, LONG b)
        : left(l)
        , top(t)
        , right(r)
        , bottom(b)
    {
    }
    explicit CRect(const QRect& rect)
        : left(rect.left())
        , top(rect.top())
        , right(rect.left() + rect.width())
        , bottom(rect.top() + rect.height())
    {
    }

    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0 ? TRUE : FALSE; }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }

    bool operator==(const CRect&) const = default;

    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
