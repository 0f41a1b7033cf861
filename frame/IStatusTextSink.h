#pragma once

#include "fw/Types.h"

// Where a page tells what its player is doing: the main window shows the
// text in its left status pane. Pages reach it through the main window
// without knowing the frame's class.
class IStatusTextSink
{
public:
    virtual ~IStatusTextSink() = default;

    virtual void SetStatusText(const CString& strText) = 0;
};
