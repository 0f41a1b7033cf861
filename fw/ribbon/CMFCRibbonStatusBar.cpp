#include "fw/ribbon/CMFCRibbonStatusBar.h"

#include "fw/CFrameWnd.h"
#include "fw/CMFCVisualManager.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>

CMFCRibbonStatusBar::CMFCRibbonStatusBar()
    : CWnd(nullptr)
    , m_pLeftGroup(new QHBoxLayout)
    , m_pRightGroup(new QHBoxLayout)
{
    setObjectName(QStringLiteral("ribbonStatusBar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(2, 1, 2, 1);
    pLayout->setSpacing(0);
    m_pLeftGroup->setSpacing(0);
    m_pRightGroup->setSpacing(0);
    m_pLeftGroup->addStretch(1);
    pLayout->addLayout(m_pLeftGroup, 1);
    pLayout->addLayout(m_pRightGroup);
    setMinimumHeight(fontMetrics().height() + 8);
    connect(CMFCVisualManager::GetInstance(), &CMFCVisualManager::LookChanged, this, [this] { update(); });
}

CMFCRibbonStatusBar::~CMFCRibbonStatusBar()
{
    RemoveAll();
}

BOOL CMFCRibbonStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT)
{
    if (pParentWnd == nullptr)
        return FALSE;
    SetStyle(dwStyle);
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd))
        pFrame->DockBar(this, CBRS_ALIGN_BOTTOM);
    else
        setParent(pParentWnd);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

void CMFCRibbonStatusBar::Insert(QList<Entry>& entries, QHBoxLayout* pLayout, CMFCRibbonBaseElement* pElement,
                                 const CString& strLabel, BOOL bIsVisible)
{
    if (pElement == nullptr)
        return;
    entries.append({pElement, strLabel});
    QWidget* pWidget = pElement->EnsureWidget(this);
    // Ordinary elements go before the space that parts the two groups.
    pLayout->insertWidget(pLayout == m_pLeftGroup ? pLayout->count() - 1 : pLayout->count(), pWidget);
    pElement->SetVisible(bIsVisible);
}

void CMFCRibbonStatusBar::AddElement(CMFCRibbonBaseElement* pElement, const CString& strLabel, BOOL bIsVisible)
{
    Insert(m_elements, m_pLeftGroup, pElement, strLabel, bIsVisible);
}

void CMFCRibbonStatusBar::AddExtendedElement(CMFCRibbonBaseElement* pElement, const CString& strLabel, BOOL bIsVisible)
{
    Insert(m_exElements, m_pRightGroup, pElement, strLabel, bIsVisible);
}

void CMFCRibbonStatusBar::RemoveAll()
{
    for (const Entry& entry : std::as_const(m_elements))
        delete entry.pElement;
    for (const Entry& entry : std::as_const(m_exElements))
        delete entry.pElement;
    m_elements.clear();
    m_exElements.clear();
}

CMFCRibbonBaseElement* CMFCRibbonStatusBar::GetElement(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_elements.size() ? m_elements.at(nIndex).pElement : nullptr;
}

CMFCRibbonBaseElement* CMFCRibbonStatusBar::GetExElement(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_exElements.size() ? m_exElements.at(nIndex).pElement : nullptr;
}

CString CMFCRibbonStatusBar::GetLabel(const CMFCRibbonBaseElement* pElement) const
{
    for (const QList<Entry>* pEntries : {&m_elements, &m_exElements}) {
        for (const Entry& entry : *pEntries) {
            if (entry.pElement == pElement)
                return entry.strLabel;
        }
    }
    return CString();
}

void CMFCRibbonStatusBar::ShowElement(CMFCRibbonBaseElement* pElement, BOOL bShow)
{
    pElement->SetVisible(bShow);
}

void CMFCRibbonStatusBar::contextMenuEvent(QContextMenuEvent* pEvent)
{
    auto* pMenu = new QMenu(this);
    pMenu->setAttribute(Qt::WA_DeleteOnClose);
    for (const QList<Entry>* pEntries : {&m_elements, &m_exElements}) {
        for (const Entry& entry : *pEntries) {
            QAction* pAction = pMenu->addAction(entry.strLabel);
            pAction->setCheckable(true);
            pAction->setChecked(entry.pElement->IsVisible() != FALSE);
            CMFCRibbonBaseElement* pElement = entry.pElement;
            connect(pAction, &QAction::toggled, this,
                    [this, pElement](bool bChecked) { ShowElement(pElement, bChecked); });
        }
    }
    pMenu->popup(pEvent->globalPos());
    pEvent->accept();
}

void CMFCRibbonStatusBar::paintEvent(QPaintEvent*)
{
    const CMFCVisualLook& look = CMFCVisualManager::GetInstance()->GetLook();
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().bottomLeft());
    gradient.setColorAt(0, look.caption.lighter(112));
    gradient.setColorAt(1, look.caption);
    painter.fillRect(rect(), gradient);
    // The extended group sits apart, behind a separator.
    QColor separator = look.captionText;
    separator.setAlpha(90);
    painter.setPen(separator);
    if (!m_pRightGroup->geometry().isEmpty()) {
        const int x = m_pRightGroup->geometry().left() - 1;
        painter.drawLine(x, 4, x, height() - 5);
    }
}
