#include "fw/ribbon/RibbonApplicationButtonWidget.h"

#include "fw/CMFCVisualManager.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

namespace {
constexpr int kDefaultSize = 45;
}

RibbonApplicationButtonWidget::RibbonApplicationButtonWidget(CMFCRibbonApplicationButton* pButton, QWidget* pParent)
    : QWidget(pParent)
    , m_pButton(pButton)
{
    setObjectName(QStringLiteral("ribbonApplicationButton"));
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

QSize RibbonApplicationButtonWidget::sizeHint() const
{
    return QSize(kDefaultSize, kDefaultSize);
}

void RibbonApplicationButtonWidget::paintEvent(QPaintEvent*)
{
    const CMFCRibbonColors& colors = CMFCVisualManager::GetInstance()->GetLook().ribbon;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const QColor base = m_bHover ? colors.accent.lighter(125) : colors.accent;
    QRadialGradient gradient(disc.center() - QPointF(0, disc.height() / 4), disc.width() * 0.75);
    gradient.setColorAt(0, base.lighter(160));
    gradient.setColorAt(0.55, base);
    gradient.setColorAt(1, base.darker(150));
    painter.setPen(QPen(base.darker(180), 1.2));
    painter.setBrush(gradient);
    painter.drawEllipse(disc);
    // A gloss over the upper half, as a polished button has.
    QLinearGradient gloss(disc.topLeft(), QPointF(disc.left(), disc.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 120));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawEllipse(
        QRectF(disc.left() + disc.width() * 0.12, disc.top() + 1.5, disc.width() * 0.76, disc.height() * 0.5));
    const QPixmap& image = m_pButton->GetImage();
    if (!image.isNull()) {
        const QSize imageSize = image.size().scaled(size() * 0.62, Qt::KeepAspectRatio);
        const QRect imageRect(QPoint((width() - imageSize.width()) / 2, (height() - imageSize.height()) / 2),
                              imageSize);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(imageRect, image);
    }
}

void RibbonApplicationButtonWidget::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_pButton->OnLButtonDown(pEvent->position().toPoint());
    else
        QWidget::mousePressEvent(pEvent);
}

void RibbonApplicationButtonWidget::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_pButton->OnLButtonDblClk(pEvent->position().toPoint());
    else
        QWidget::mouseDoubleClickEvent(pEvent);
}

void RibbonApplicationButtonWidget::enterEvent(QEnterEvent* pEvent)
{
    m_bHover = true;
    update();
    QWidget::enterEvent(pEvent);
}

void RibbonApplicationButtonWidget::leaveEvent(QEvent* pEvent)
{
    m_bHover = false;
    update();
    QWidget::leaveEvent(pEvent);
}
