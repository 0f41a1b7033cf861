#pragma once

#include "fw/CWnd.h"

#include <QPointer>

class CCreateContext;
class CDocument;
class CView;
class QBoxLayout;

// A frame: a window that holds views and bars and routes commands. A command
// tries the active child frame (of an MDI frame), then the active view, then
// the frame itself, and a top-level frame finally offers it to the
// application. Bars dock at the top or the bottom; the client (a view or an
// MDI client area) fills the rest.
class CFrameWnd : public CWnd
{
    Q_OBJECT

public:
    explicit CFrameWnd(QWidget* pParent = nullptr);

    CWnd* GetActiveView() const;
    void SetActiveView(CWnd* pView);
    // The document of the active view, if any.
    virtual CDocument* GetActiveDocument() const;

    // The active MDI child of an MDI frame; none for other frames.
    virtual CFrameWnd* GetActiveChildFrame() const;

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    // The frame's title; the caption adds the active document's title when
    // the frame has FWS_ADDTOTITLE.
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(const CString& strTitle);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Bars: nAlign is CBRS_ALIGN_TOP or CBRS_ALIGN_BOTTOM. Bars stack in the
    // order they dock, top bars downwards and bottom bars upwards.
    void DockBar(QWidget* pBar, DWORD nAlign);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The window rectangle around a client: the bars' heights added.
    void CalcWindowRect(CRect* lpClientRect) const override;

    // Runs the views' OnInitialUpdate, then activates the frame when asked.
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows and activates the frame; nCmdShow -1 keeps its current state.
    virtual void ActivateFrame(int nCmdShow = -1);

    // Frames delete themselves once destroyed unless told otherwise.
    BOOL m_bAutoDelete = TRUE;

protected:
    // WM_CREATE of a frame builds its client from the creation context.
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Makes the context's view, attaches it to its document and puts it in
    // the client area.
    CView* CreateView(CCreateContext* pContext);
    // The widget that fills the area between the bars.
    void SetClientWidget(QWidget* pClient);
    // The frame's layout: bars above and below the client.
    QBoxLayout* FrameLayout();

    // The main window's close ends the program's documents first.
    void OnClose() override;
    void PostNcDestroy() override;

private:
    QPointer<CWnd> m_pActiveView;
    QPointer<QWidget> m_pClient;
    CString m_strTitle;
    QBoxLayout* m_pLayout = nullptr;
    QBoxLayout* m_pTopBars = nullptr;
    QBoxLayout* m_pBottomBars = nullptr;
};
