#include "radio/NowPlayingPanel.h"

#include "fw/PlainText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr double kTitleFontScale = 1.3;
constexpr int kMargin = 8;
}

CNowPlayingPanel::CNowPlayingPanel(QWidget* pParent)
    : QWidget(pParent)
    , m_pTitle(new QLabel(this))
    , m_pStationName(new QLabel(this))
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);

    QFont titleFont = m_pTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * kTitleFontScale);
    titleFont.setBold(true);
    m_pTitle->setFont(titleFont);
    m_pStationName->setForegroundRole(QPalette::PlaceholderText);
    for (QLabel* pLabel : {m_pTitle, m_pStationName}) {
        ShowAsPlainText(pLabel);
        pLabel->setAlignment(Qt::AlignCenter);
        pLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        pLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(kMargin, kMargin / 2, kMargin, kMargin / 2);
    pLayout->setSpacing(0);
    pLayout->addStretch();
    pLayout->addWidget(m_pTitle);
    pLayout->addWidget(m_pStationName);
    pLayout->addStretch();
}

void CNowPlayingPanel::SetTitle(const QString& strTitle, const QString& strStationName)
{
    m_pTitle->setText(strTitle);
    m_pStationName->setText(strStationName);
}

QString CNowPlayingPanel::Title() const
{
    return m_pTitle->text();
}
