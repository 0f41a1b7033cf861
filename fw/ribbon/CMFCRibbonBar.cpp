#include "fw/ribbon/CMFCRibbonBar.h"

#include "fw/CFrameWnd.h"
#include "fw/CMDIFrameWndEx.h"
#include "fw/CMFCVisualManager.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonPanel.h"
#include "fw/ribbon/RibbonHeader.h"
#include "fw/ribbon/RibbonPanelWidget.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
// How often the elements ask the command route for their state.
constexpr int kIdleUpdateMs = 200;
const char kMinimizeRibbon[] = "Mi&nimize the Ribbon";
const char kRightAlignProperty[] = "ribbonMenuRightAlign";

QString Rgba(const QColor& color, int nAlpha = 255)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(nAlpha);
}

QString RibbonStyleSheet(const CMFCRibbonColors& colors)
{
    const QString text = Rgba(colors.text);
    const QString disabled = Rgba(colors.text, 110);
    const QString hover = Rgba(colors.accent, 55);
    const QString hoverBorder = Rgba(colors.accent, 170);
    const QString pressed = Rgba(colors.accent, 110);
    const QString tabText = Rgba(colors.tabText);
    return QStringLiteral("QToolButton#ribbonLargeButton, QToolButton#ribbonSmallButton, QToolButton#ribbonTabElement {"
                          " color: %1; background: transparent; border: 1px solid transparent; border-radius: 3px; }"
                          "QToolButton#ribbonLargeButton { padding: 2px 4px; min-width: 40px; }"
                          "QToolButton#ribbonSmallButton { padding: 1px 4px; text-align: left; }"
                          "QToolButton#ribbonTabElement { color: %6; padding: 1px 5px; }"
                          "QToolButton#ribbonLargeButton:hover, QToolButton#ribbonSmallButton:hover,"
                          " QToolButton#ribbonTabElement:hover { background: %3; border-color: %4; }"
                          "QToolButton#ribbonLargeButton:pressed, QToolButton#ribbonSmallButton:pressed,"
                          " QToolButton#ribbonTabElement:pressed,"
                          " QToolButton[checkedState=\"true\"] { background: %5; border-color: %4; }"
                          "QToolButton:disabled { color: %2; }"
                          "QCheckBox#ribbonCheckBox { color: %1; padding: 2px 4px; spacing: 6px; }"
                          "QCheckBox#ribbonCheckBox:disabled { color: %2; }")
        .arg(text, disabled, hover, hoverBorder, pressed, tabText);
}
}

CMFCRibbonBar::CMFCRibbonBar(BOOL bReplaceFrameCaption)
    : CWnd(nullptr)
    , m_bReplaceFrameCaption(bReplaceFrameCaption != FALSE)
    , m_pHeader(new RibbonHeader(this))
    , m_pCategoryStack(new QStackedWidget(this))
    , m_pIdleTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("ribbonBar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_pCategoryStack->setObjectName(QStringLiteral("ribbonCategories"));
    m_pCategoryStack->setFixedHeight(RibbonPanelWidget::CaptionHeight() + 80);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pHeader);
    pLayout->addWidget(m_pCategoryStack);
    connect(m_pIdleTimer, &QTimer::timeout, this, [this] {
        if (isVisible())
            UpdateFromOwner();
    });
    connect(CMFCVisualManager::GetInstance(), &CMFCVisualManager::LookChanged, this, &CMFCRibbonBar::ApplyLook);
    ApplyLook();
}

CMFCRibbonBar::~CMFCRibbonBar()
{
    m_pIdleTimer->stop();
    qDeleteAll(m_tabElements);
    qDeleteAll(m_categories);
    if (m_pApplicationButton != nullptr)
        m_pApplicationButton->m_pRibbonBar = nullptr;
}

BOOL CMFCRibbonBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT)
{
    if (pParentWnd == nullptr)
        return FALSE;
    m_pOwner = pParentWnd;
    SetStyle(dwStyle);
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd))
        pFrame->DockBar(this, CBRS_ALIGN_TOP);
    else
        setParent(pParentWnd);
    // The ribbon draws the caption of a top-level frame it replaces.
    auto* pMDIFrame = dynamic_cast<CMDIFrameWndEx*>(pParentWnd);
    const bool bDrawsCaption = m_bReplaceFrameCaption && pMDIFrame != nullptr && pMDIFrame->isWindow();
    if (bDrawsCaption)
        pMDIFrame->SetCaptionReplaced(TRUE);
    m_pHeader->SetCaptionShown(bDrawsCaption);
    m_pHeader->WatchWindow(pParentWnd->window());
    setVisible((dwStyle & WS_VISIBLE) != 0);
    m_pIdleTimer->start(kIdleUpdateMs);
    return TRUE;
}

CMFCRibbonCategory* CMFCRibbonBar::AddCategory(const CString& strName, const QPixmap& smallImages,
                                               const QPixmap& largeImages, CSize sizeSmallImage, CSize sizeLargeImage)
{
    CMFCToolBarImages small;
    small.SetImageSize(sizeSmallImage);
    small.Load(smallImages);
    CMFCToolBarImages large;
    large.SetImageSize(sizeLargeImage);
    large.Load(largeImages);
    auto* pCategory = new CMFCRibbonCategory(this, strName, small, large);
    m_categories.append(pCategory);
    m_pCategoryStack->addWidget(pCategory->GetWidget());
    if (m_pActiveCategory == nullptr) {
        m_pActiveCategory = pCategory;
        m_pCategoryStack->setCurrentWidget(pCategory->GetWidget());
    }
    m_pHeader->updateGeometry();
    m_pHeader->update();
    return pCategory;
}

CMFCRibbonCategory* CMFCRibbonBar::GetCategory(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_categories.size() ? m_categories.at(nIndex) : nullptr;
}

int CMFCRibbonBar::GetCategoryIndex(CMFCRibbonCategory* pCategory) const
{
    return static_cast<int>(m_categories.indexOf(pCategory));
}

BOOL CMFCRibbonBar::SetActiveCategory(CMFCRibbonCategory* pCategory, BOOL bForceRestore)
{
    if (GetCategoryIndex(pCategory) < 0)
        return FALSE;
    m_pActiveCategory = pCategory;
    m_pCategoryStack->setCurrentWidget(pCategory->GetWidget());
    if (bForceRestore && m_bMinimized)
        ToggleMinimizeState();
    UpdateFromOwner();
    m_pHeader->update();
    return TRUE;
}

void CMFCRibbonBar::SetApplicationButton(CMFCRibbonApplicationButton* pButton, CSize sizeButton)
{
    if (m_pApplicationButton != nullptr && m_pApplicationButton != pButton) {
        delete m_pApplicationButton->GetWidget();
        m_pApplicationButton->m_pRibbonBar = nullptr;
    }
    m_pApplicationButton = pButton;
    if (pButton == nullptr)
        return;
    pButton->m_pRibbonBar = this;
    QWidget* pWidget = pButton->EnsureWidget(m_pHeader);
    m_pHeader->SetApplicationButtonWidget(pWidget, sizeButton);
    WatchElementWidget(pWidget);
}

void CMFCRibbonBar::AddToTabs(CMFCRibbonBaseElement* pElement)
{
    if (pElement == nullptr || m_tabElements.contains(pElement))
        return;
    m_tabElements.append(pElement);
    pElement->m_pRibbonBar = this;
    QWidget* pWidget = pElement->EnsureWidget(m_pHeader);
    pElement->UpdateWidget();
    m_pHeader->AddTabElementWidget(pWidget);
    WatchElementWidget(pWidget);
}

BOOL CMFCRibbonBar::OnShowRibbonContextMenu(CWnd*, int x, int y, CMFCRibbonBaseElement*)
{
    auto* pMenu = new QMenu(this);
    pMenu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* pMinimize = pMenu->addAction(QString::fromLatin1(kMinimizeRibbon));
    pMinimize->setCheckable(true);
    pMinimize->setChecked(m_bMinimized);
    connect(pMinimize, &QAction::triggered, this, &CMFCRibbonBar::ToggleMinimizeState);
    pMenu->popup(QPoint(x, y));
    return TRUE;
}

void CMFCRibbonBar::ToggleMinimizeState()
{
    m_bMinimized = !m_bMinimized;
    m_pCategoryStack->setVisible(!m_bMinimized);
    m_pHeader->update();
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(m_pOwner.data()))
        pFrame->RecalcLayout();
}

CMFCRibbonBaseElement* CMFCRibbonBar::FindByID(UINT nID) const
{
    for (const CMFCRibbonCategory* pCategory : m_categories) {
        if (CMFCRibbonBaseElement* pElement = pCategory->FindByID(nID))
            return pElement;
    }
    for (CMFCRibbonBaseElement* pElement : m_tabElements) {
        if (pElement->GetID() == nID)
            return pElement;
    }
    return nullptr;
}

CMFCRibbonBaseElement* CMFCRibbonBar::HitTestElement(const QWidget* pWidget) const
{
    QList<CMFCRibbonBaseElement*> elements = m_tabElements;
    if (m_pApplicationButton != nullptr)
        elements.append(m_pApplicationButton);
    for (const CMFCRibbonCategory* pCategory : m_categories)
        elements += pCategory->GetElements();
    for (const QWidget* pAt = pWidget; pAt != nullptr && pAt != this; pAt = pAt->parentWidget()) {
        for (CMFCRibbonBaseElement* pElement : std::as_const(elements)) {
            if (pElement->GetWidget() == pAt)
                return pElement;
        }
    }
    return nullptr;
}

void CMFCRibbonBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_pActiveCategory != nullptr) {
        for (CMFCRibbonBaseElement* pElement : m_pActiveCategory->GetElements())
            pElement->OnUpdateCmdUI(pTarget, bDisableIfNoHandler);
    }
    for (CMFCRibbonBaseElement* pElement : std::as_const(m_tabElements))
        pElement->OnUpdateCmdUI(pTarget, bDisableIfNoHandler);
}

void CMFCRibbonBar::UpdateFromOwner()
{
    if (m_pOwner != nullptr && !m_pOwner->IsDestroyed())
        OnUpdateCmdUI(m_pOwner, TRUE);
}

void CMFCRibbonBar::ScheduleUpdate()
{
    QMetaObject::invokeMethod(this, &CMFCRibbonBar::UpdateFromOwner, Qt::QueuedConnection);
}

int CMFCRibbonBar::GetCaptionHeight() const
{
    return m_pHeader->CaptionHeight();
}

void CMFCRibbonBar::WatchElementWidget(QWidget* pWidget)
{
    pWidget->installEventFilter(this);
}

void CMFCRibbonBar::ApplyLook()
{
    setStyleSheet(RibbonStyleSheet(CMFCVisualManager::GetInstance()->GetLook().ribbon));
    update();
    m_pHeader->update();
}

void CMFCRibbonBar::contextMenuEvent(QContextMenuEvent* pEvent)
{
    const QWidget* pAt = childAt(pEvent->pos());
    OnShowRibbonContextMenu(this, pEvent->globalPos().x(), pEvent->globalPos().y(), HitTestElement(pAt));
    pEvent->accept();
}

bool CMFCRibbonBar::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ToolTip) {
        auto* pWidget = qobject_cast<QWidget*>(pWatched);
        const CMFCRibbonBaseElement* pElement = HitTestElement(pWidget);
        if (pElement != nullptr) {
            const CString strHtml = pElement->GetToolTipHtml();
            if (strHtml.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(static_cast<QHelpEvent*>(pEvent)->globalPos(), strHtml, pWidget);
            return true;
        }
    }
    if (pEvent->type() == QEvent::Show) {
        // A right-aligned drop-down menu ends where its button ends.
        auto* pMenu = qobject_cast<QMenu*>(pWatched);
        const QWidget* pButton = pMenu != nullptr ? pMenu->parentWidget() : nullptr;
        if (pButton != nullptr && pMenu->property(kRightAlignProperty).toBool()) {
            const int nRight = pButton->mapToGlobal(QPoint(pButton->width(), 0)).x();
            pMenu->move(nRight - pMenu->width(), pMenu->y());
        }
    }
    return CWnd::eventFilter(pWatched, pEvent);
}

void CMFCRibbonBar::paintEvent(QPaintEvent*)
{
    const CMFCRibbonColors& colors = CMFCVisualManager::GetInstance()->GetLook().ribbon;
    QPainter painter(this);
    const QRect face = rect().adjusted(0, m_pHeader->height(), 0, 0);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0, colors.panelBackground.lighter(110));
    gradient.setColorAt(1, colors.panelBackground.darker(104));
    painter.fillRect(face, gradient);
    painter.setPen(colors.panelCaption.darker(130));
    painter.drawLine(face.bottomLeft(), face.bottomRight());
}
