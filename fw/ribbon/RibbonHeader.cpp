#include "fw/ribbon/RibbonHeader.h"

#include "fw/CMFCVisualManager.h"
#include "fw/CWnd.h"
#include "fw/ribbon/CMFCRibbonBar.h"
#include "fw/ribbon/CMFCRibbonCategory.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace {
constexpr int kCaptionButtonWidth = 42;
constexpr int kTabPadding = 14;
constexpr int kTabGap = 2;
constexpr int kEdgeGap = 6;
constexpr qreal kTabRadius = 4.0;

QColor WithAlpha(QColor color, int nAlpha)
{
    color.setAlpha(nAlpha);
    return color;
}
}

RibbonHeader::RibbonHeader(CMFCRibbonBar* pBar)
    : QWidget(pBar)
    , m_pBar(pBar)
{
    setObjectName(QStringLiteral("ribbonHeader"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void RibbonHeader::SetApplicationButtonWidget(QWidget* pButton, QSize size)
{
    m_pApplicationButton = pButton;
    m_applicationButtonSize = size;
    pButton->setParent(this);
    pButton->resize(size);
    pButton->show();
    updateGeometry();
    Relayout();
}

void RibbonHeader::AddTabElementWidget(QWidget* pElement)
{
    pElement->setParent(this);
    pElement->show();
    m_tabElements.append(pElement);
    Relayout();
}

void RibbonHeader::SetCaptionShown(bool bShown)
{
    m_bCaptionShown = bShown;
    updateGeometry();
    Relayout();
}

void RibbonHeader::WatchWindow(QWidget* pWindow)
{
    if (m_pWindow != nullptr)
        m_pWindow->removeEventFilter(this);
    m_pWindow = pWindow;
    if (pWindow != nullptr)
        pWindow->installEventFilter(this);
    update();
}

int RibbonHeader::CaptionHeight() const
{
    const int nTitleBand = fontMetrics().height() + 10;
    if (m_bCaptionShown)
        return qMax(nTitleBand, m_applicationButtonSize.height() + 4 - TabsHeight());
    // Without a caption the band above the tabs only makes room for the
    // application button.
    return m_pApplicationButton != nullptr ? qMax(0, m_applicationButtonSize.height() + 4 - TabsHeight()) : 0;
}

int RibbonHeader::TabsHeight() const
{
    return fontMetrics().height() + 12;
}

QSize RibbonHeader::sizeHint() const
{
    int nWidth = TabsLeft() + kEdgeGap;
    for (int i = 0; i < m_pBar->GetCategoryCount(); ++i)
        nWidth += fontMetrics().horizontalAdvance(m_pBar->GetCategory(i)->GetName()) + kTabPadding * 2 + kTabGap;
    for (const QPointer<QWidget>& pElement : m_tabElements) {
        if (pElement != nullptr)
            nWidth += pElement->sizeHint().width() + kTabGap;
    }
    return QSize(nWidth, CaptionHeight() + TabsHeight());
}

QSize RibbonHeader::minimumSizeHint() const
{
    return QSize(TabsLeft() + kEdgeGap, CaptionHeight() + TabsHeight());
}

int RibbonHeader::TabsLeft() const
{
    return m_pApplicationButton != nullptr ? kEdgeGap + m_applicationButtonSize.width() + kEdgeGap : kEdgeGap;
}

int RibbonHeader::TabsRight() const
{
    int nRight = width() - kEdgeGap;
    for (const QPointer<QWidget>& pElement : m_tabElements) {
        if (pElement != nullptr && !pElement->isHidden())
            nRight = qMin(nRight, pElement->x() - kTabGap);
    }
    return nRight;
}

QRect RibbonHeader::TabRect(int nIndex) const
{
    int nLeft = TabsLeft();
    for (int i = 0; i < m_pBar->GetCategoryCount(); ++i) {
        const int nWidth = fontMetrics().horizontalAdvance(m_pBar->GetCategory(i)->GetName()) + kTabPadding * 2;
        if (i == nIndex)
            return QRect(nLeft, CaptionHeight() + 3, nWidth, TabsHeight() - 3);
        nLeft += nWidth + kTabGap;
    }
    return QRect();
}

int RibbonHeader::TabAt(const QPoint& point) const
{
    for (int i = 0; i < m_pBar->GetCategoryCount(); ++i) {
        if (TabRect(i).contains(point))
            return i;
    }
    return -1;
}

QList<RibbonHeader::CaptionButton> RibbonHeader::CaptionButtons() const
{
    QList<CaptionButton> buttons;
    const auto* pOwner = m_pBar->GetOwner();
    if (!m_bCaptionShown || pOwner == nullptr)
        return buttons;
    const DWORD style = pOwner->GetStyle();
    if ((style & WS_MINIMIZEBOX) != 0)
        buttons.append(CaptionButton::Minimize);
    if ((style & WS_MAXIMIZEBOX) != 0)
        buttons.append(CaptionButton::Maximize);
    if ((style & WS_SYSMENU) != 0)
        buttons.append(CaptionButton::Close);
    return buttons;
}

QRect RibbonHeader::CaptionButtonRect(int nIndex) const
{
    const int nCount = static_cast<int>(CaptionButtons().size());
    return QRect(width() - (nCount - nIndex) * kCaptionButtonWidth, 0, kCaptionButtonWidth, CaptionHeight());
}

QRect RibbonHeader::CloseButtonRect() const
{
    const auto nIndex = static_cast<int>(CaptionButtons().indexOf(CaptionButton::Close));
    return nIndex < 0 ? QRect() : CaptionButtonRect(nIndex);
}

RibbonHeader::CaptionButton RibbonHeader::CaptionButtonAt(const QPoint& point) const
{
    const QList<CaptionButton> buttons = CaptionButtons();
    for (int i = 0; i < buttons.size(); ++i) {
        if (CaptionButtonRect(i).contains(point))
            return buttons.at(i);
    }
    return CaptionButton::None;
}

void RibbonHeader::Relayout()
{
    if (m_pApplicationButton != nullptr) {
        const int nTop = qMax(1, (CaptionHeight() + TabsHeight() - m_applicationButtonSize.height()) / 2);
        m_pApplicationButton->setGeometry(QRect(QPoint(kEdgeGap, nTop), m_applicationButtonSize));
    }
    int nRight = width() - kEdgeGap;
    for (auto it = m_tabElements.crbegin(); it != m_tabElements.crend(); ++it) {
        QWidget* pElement = it->data();
        if (pElement == nullptr || pElement->isHidden())
            continue;
        const QSize size = pElement->sizeHint().boundedTo(QSize(QWIDGETSIZE_MAX, TabsHeight() - 2));
        nRight -= size.width();
        pElement->setGeometry(QRect(QPoint(nRight, CaptionHeight() + (TabsHeight() - size.height()) / 2), size));
        nRight -= kTabGap;
    }
    update();
}

void RibbonHeader::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    Relayout();
}

void RibbonHeader::paintEvent(QPaintEvent*)
{
    const CMFCVisualLook& look = CMFCVisualManager::GetInstance()->GetLook();
    const CMFCRibbonColors& colors = look.ribbon;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRect captionBand(0, 0, width(), CaptionHeight());
    const QRect tabBand(0, CaptionHeight(), width(), TabsHeight());
    painter.fillRect(captionBand, m_bCaptionShown ? look.caption : colors.tabRow);
    QLinearGradient tabGradient(tabBand.topLeft(), tabBand.bottomLeft());
    tabGradient.setColorAt(0, colors.tabRow);
    tabGradient.setColorAt(1, colors.tabRow.darker(108));
    painter.fillRect(tabBand, tabGradient);

    if (m_bCaptionShown && m_pWindow != nullptr) {
        const QList<CaptionButton> buttons = CaptionButtons();
        const int nReserved = qMax(TabsLeft(), static_cast<int>(buttons.size()) * kCaptionButtonWidth) + kEdgeGap;
        const QRect titleRect = captionBand.adjusted(nReserved, 0, -nReserved, 0);
        painter.setPen(look.captionText);
        painter.drawText(titleRect, Qt::AlignCenter,
                         fontMetrics().elidedText(m_pWindow->windowTitle(), Qt::ElideRight, titleRect.width()));
        for (int i = 0; i < buttons.size(); ++i)
            PaintCaptionButton(painter, buttons.at(i), CaptionButtonRect(i));
    }

    const int nActive = m_pBar->GetCategoryIndex(m_pBar->GetActiveCategory());
    const int nRight = TabsRight();
    for (int i = 0; i < m_pBar->GetCategoryCount(); ++i) {
        const QRect tab = TabRect(i);
        if (tab.left() >= nRight)
            break;
        const bool bActive = i == nActive && !m_pBar->IsMinimized();
        if (bActive || i == m_nHoverTab) {
            QPainterPath path;
            const QRectF face = QRectF(tab).adjusted(0.5, 0.5, -0.5, kTabRadius);
            path.addRoundedRect(face, kTabRadius, kTabRadius);
            painter.save();
            painter.setClipRect(tab);
            painter.setPen(bActive ? QPen(colors.accent.darker(115), 1) : Qt::NoPen);
            painter.setBrush(bActive ? colors.panelBackground.lighter(108) : WithAlpha(colors.accent, 60));
            painter.drawPath(path);
            painter.restore();
        }
        painter.setPen(bActive ? colors.text : colors.tabText);
        painter.drawText(tab, Qt::AlignCenter, m_pBar->GetCategory(i)->GetName());
    }
}

void RibbonHeader::PaintCaptionButton(QPainter& painter, CaptionButton button, const QRect& rect) const
{
    const CMFCVisualLook& look = CMFCVisualManager::GetInstance()->GetLook();
    if (button == m_hoverButton) {
        const QColor hover =
            button == CaptionButton::Close ? QColor(0xC4, 0x2B, 0x1C) : WithAlpha(look.ribbon.accent, 110);
        painter.fillRect(rect, button == m_pressedButton ? hover.darker(120) : hover);
    }
    painter.save();
    painter.setPen(
        QPen(button == m_hoverButton && button == CaptionButton::Close ? QColor(Qt::white) : look.captionText, 1.2));
    painter.setBrush(Qt::NoBrush);
    const QPointF c = QRectF(rect).center();
    constexpr qreal kHalf = 5.0;
    switch (button) {
    case CaptionButton::Minimize:
        painter.drawLine(QPointF(c.x() - kHalf, c.y() + 0.5), QPointF(c.x() + kHalf, c.y() + 0.5));
        break;
    case CaptionButton::Maximize:
        if (m_pWindow != nullptr && m_pWindow->isMaximized()) {
            painter.drawRect(QRectF(c.x() - kHalf, c.y() - kHalf + 2, kHalf * 2 - 2, kHalf * 2 - 2));
            painter.drawPolyline(QList<QPointF>{{c.x() - kHalf + 2, c.y() - kHalf + 2},
                                                {c.x() - kHalf + 2, c.y() - kHalf},
                                                {c.x() + kHalf, c.y() - kHalf},
                                                {c.x() + kHalf, c.y() + kHalf - 2},
                                                {c.x() + kHalf - 2, c.y() + kHalf - 2}});
        } else {
            painter.drawRect(QRectF(c.x() - kHalf, c.y() - kHalf, kHalf * 2, kHalf * 2));
        }
        break;
    case CaptionButton::Close:
        painter.drawLine(QPointF(c.x() - kHalf, c.y() - kHalf), QPointF(c.x() + kHalf, c.y() + kHalf));
        painter.drawLine(QPointF(c.x() - kHalf, c.y() + kHalf), QPointF(c.x() + kHalf, c.y() - kHalf));
        break;
    case CaptionButton::None:
        break;
    }
    painter.restore();
}

void RibbonHeader::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    const QPoint point = pEvent->position().toPoint();
    if (const int nTab = TabAt(point); nTab >= 0) {
        m_pBar->SetActiveCategory(m_pBar->GetCategory(nTab), m_pBar->IsMinimized());
        return;
    }
    m_pressedButton = CaptionButtonAt(point);
    if (m_pressedButton != CaptionButton::None) {
        update();
        return;
    }
    if (m_bCaptionShown && point.y() < CaptionHeight() && window()->windowHandle() != nullptr)
        window()->windowHandle()->startSystemMove();
}

void RibbonHeader::mouseReleaseEvent(QMouseEvent* pEvent)
{
    const CaptionButton pressed = std::exchange(m_pressedButton, CaptionButton::None);
    if (pressed == CaptionButton::None || CaptionButtonAt(pEvent->position().toPoint()) != pressed) {
        update();
        return;
    }
    QWidget* pWindow = window();
    switch (pressed) {
    case CaptionButton::Minimize:
        pWindow->showMinimized();
        break;
    case CaptionButton::Maximize:
        pWindow->isMaximized() ? pWindow->showNormal() : pWindow->showMaximized();
        break;
    case CaptionButton::Close:
        pWindow->close();
        break;
    case CaptionButton::None:
        break;
    }
    update();
}

void RibbonHeader::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const QPoint point = pEvent->position().toPoint();
    if (pEvent->button() != Qt::LeftButton)
        return;
    if (TabAt(point) >= 0) {
        m_pBar->ToggleMinimizeState();
        return;
    }
    const auto* pOwner = m_pBar->GetOwner();
    if (m_bCaptionShown && point.y() < CaptionHeight() && CaptionButtonAt(point) == CaptionButton::None &&
        pOwner != nullptr && (pOwner->GetStyle() & WS_MAXIMIZEBOX) != 0) {
        QWidget* pWindow = window();
        pWindow->isMaximized() ? pWindow->showNormal() : pWindow->showMaximized();
    }
}

void RibbonHeader::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint point = pEvent->position().toPoint();
    const int nHoverTab = TabAt(point);
    const CaptionButton hoverButton = CaptionButtonAt(point);
    if (nHoverTab != m_nHoverTab || hoverButton != m_hoverButton) {
        m_nHoverTab = nHoverTab;
        m_hoverButton = hoverButton;
        update();
    }
    QWidget::mouseMoveEvent(pEvent);
}

void RibbonHeader::leaveEvent(QEvent* pEvent)
{
    m_nHoverTab = -1;
    m_hoverButton = CaptionButton::None;
    update();
    QWidget::leaveEvent(pEvent);
}

bool RibbonHeader::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pWindow &&
        (pEvent->type() == QEvent::WindowTitleChange || pEvent->type() == QEvent::WindowStateChange))
        update();
    return QWidget::eventFilter(pWatched, pEvent);
}
