#include "fw/ribbon/RibbonStatusPaneWidget.h"

#include "fw/CMFCVisualManager.h"
#include "fw/PlainText.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int kPadding = 6;
}

RibbonStatusPaneWidget::RibbonStatusPaneWidget(CMFCRibbonStatusBarPane* pPane, QWidget* pParent)
    : QWidget(pParent)
    , m_pPane(pPane)
{
    setObjectName(QStringLiteral("ribbonStatusPane"));
    // As wide as the sample, narrower only when the window is.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QSize RibbonStatusPaneWidget::sizeHint() const
{
    // A pane is as wide as its sample text, or its text when it has none.
    const CString strSample =
        m_pPane->GetAlmostLargeText().isEmpty() ? m_pPane->GetText() : m_pPane->GetAlmostLargeText();
    return QSize(fontMetrics().horizontalAdvance(strSample) + 2 * kPadding, fontMetrics().height() + 6);
}

QSize RibbonStatusPaneWidget::minimumSizeHint() const
{
    return QSize(2 * kPadding, fontMetrics().height() + 6);
}

bool RibbonStatusPaneWidget::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ToolTip) {
        const CString strTip = m_pPane->GetDescription();
        if (strTip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(pEvent)->globalPos(), PlainToolTip(strTip), this);
        return true;
    }
    return QWidget::event(pEvent);
}

void RibbonStatusPaneWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(isEnabled() ? CMFCVisualManager::GetInstance()->GetLook().captionText
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    const QRect textRect = rect().adjusted(kPadding, 0, -kPadding, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(m_pPane->GetText(), Qt::ElideRight, textRect.width()));
}
