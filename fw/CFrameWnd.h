#pragma once

#include "fw/CWnd.h"

#include <QPointer>

// A frame: a window that holds views and routes commands. A command tries
// the active child frame (of an MDI frame), then the active view, then the
// frame itself, and a top-level frame finally offers it to the application.
class CFrameWnd : public CWnd
{
    Q_OBJECT

public:
    explicit CFrameWnd(QWidget* pParent = nullptr);

    CWnd* GetActiveView() const;
    void SetActiveView(CWnd* pView);

    // The active MDI child of an MDI frame; none for other frames.
    virtual CFrameWnd* GetActiveChildFrame() const;

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

private:
    QPointer<CWnd> m_pActiveView;
};
