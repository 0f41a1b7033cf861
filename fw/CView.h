#pragma once

#include "fw/CWnd.h"

class CDocument;

// A view: the window that shows a document inside a frame. Its document is
// set when its frame creates it; OnInitialUpdate runs once the document is
// ready, before the frame is first shown.
class CView : public CWnd
{
    Q_OBJECT

public:
    explicit CView(QWidget* pParent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();

    // Commands reach the view first, then its document.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
