#include "fw/ribbon/RibbonPanelWidget.h"

#include "fw/CMFCVisualManager.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {
constexpr int kSmallRowsPerColumn = 3;
constexpr int kMargin = 3;
constexpr qreal kCornerRadius = 3.0;
}

RibbonPanelWidget::RibbonPanelWidget(const QString& strName, QWidget* pParent)
    : QWidget(pParent)
    , m_strName(strName)
    , m_pColumns(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("ribbonPanel"));
    m_pColumns->setContentsMargins(kMargin, kMargin, kMargin, kMargin + CaptionHeight());
    m_pColumns->setSpacing(2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

int RibbonPanelWidget::CaptionHeight()
{
    return QFontMetrics(QFont()).height() + 4;
}

QSize RibbonPanelWidget::sizeHint() const
{
    const QSize elements = QWidget::sizeHint();
    return QSize(qMax(elements.width(), fontMetrics().horizontalAdvance(m_strName) + 4 * kMargin), elements.height());
}

QSize RibbonPanelWidget::minimumSizeHint() const
{
    return QSize(sizeHint().width(), QWidget::minimumSizeHint().height());
}

void RibbonPanelWidget::AddElementWidget(QWidget* pElement, bool bLarge)
{
    if (bLarge) {
        m_pColumns->addWidget(pElement);
        m_pSmallColumn = nullptr;
        return;
    }
    if (m_pSmallColumn == nullptr || m_pSmallColumn->count() >= kSmallRowsPerColumn) {
        m_pSmallColumn = new QVBoxLayout;
        m_pSmallColumn->setSpacing(1);
        m_pSmallColumn->setAlignment(Qt::AlignTop);
        m_pColumns->addLayout(m_pSmallColumn);
    }
    m_pSmallColumn->addWidget(pElement, 0, Qt::AlignLeft);
}

void RibbonPanelWidget::paintEvent(QPaintEvent*)
{
    const CMFCRibbonColors& colors = CMFCVisualManager::GetInstance()->GetLook().ribbon;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient faceGradient(face.topLeft(), face.bottomLeft());
    faceGradient.setColorAt(0, colors.panelBackground.lighter(108));
    faceGradient.setColorAt(1, colors.panelBackground);
    painter.setPen(QPen(colors.panelCaption.darker(125), 1));
    painter.setBrush(faceGradient);
    painter.drawRoundedRect(face, kCornerRadius, kCornerRadius);

    const QRectF caption(face.left(), face.bottom() - CaptionHeight(), face.width(), CaptionHeight());
    QPainterPath captionPath;
    captionPath.addRoundedRect(caption, kCornerRadius, kCornerRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors.panelCaption);
    painter.drawPath(captionPath);
    painter.setPen(colors.text);
    painter.drawText(caption, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(m_strName, Qt::ElideRight, int(caption.width()) - 4));
}
