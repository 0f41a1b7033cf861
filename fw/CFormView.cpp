#include "fw/CFormView.h"

#include "fw/CFrameWnd.h"

#include <QScrollArea>
#include <QVBoxLayout>

CFormView::CFormView(UINT nIDTemplate, QWidget* pParent)
    : CView(pParent)
    , m_nIDTemplate(nIDTemplate)
    , m_pScrollArea(new QScrollArea(this))
    , m_pForm(new QWidget)
{
    m_pScrollArea->setFrameShape(QFrame::NoFrame);
    m_pScrollArea->setWidgetResizable(true);
    m_pScrollArea->setWidget(m_pForm);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pScrollArea);
}

CSize CFormView::GetFormSize() const
{
    const QSize hint = m_pForm->sizeHint();
    return hint.isValid() ? hint.expandedTo(m_pForm->minimumSize()) : m_pForm->minimumSize();
}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        return;
    // What the frame puts around the view (its caption, borders and bars)
    // stays; the view's part becomes the form's size.
    CRect wantedRect(0, 0, GetFormSize().width(), GetFormSize().height());
    pFrame->CalcWindowRect(&wantedRect);
    QSize wanted = wantedRect.Size();
    CRect frameRect;
    pFrame->GetWindowRect(&frameRect);
    if (bShrinkOnly)
        wanted = wanted.boundedTo(frameRect.Size());
    pFrame->SetWindowPos(nullptr, 0, 0, wanted.width(), wanted.height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
