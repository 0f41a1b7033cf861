#pragma once

#include "fw/CView.h"

class QScrollArea;

// A view that shows a form: controls that the subclass builds on the form
// widget (GetFormWidget) in its constructor. The form keeps the size it
// asks for and scrolls when the frame is smaller.
class CFormView : public CView
{
    Q_OBJECT

public:
    explicit CFormView(UINT nIDTemplate, QWidget* pParent = nullptr);

    QWidget* GetFormWidget() const { return m_pForm; }

    // Sizes the parent frame so that the whole form shows in it: with
    // bShrinkOnly the frame only ever gets smaller.
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

    // The size the form asks for.
    CSize GetFormSize() const;

private:
    UINT m_nIDTemplate;
    QScrollArea* m_pScrollArea;
    QWidget* m_pForm;
};
