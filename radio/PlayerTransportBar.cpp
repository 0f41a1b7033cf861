#include "radio/PlayerTransportBar.h"

#include "fw/PlainText.h"
#include "radio/PlayerTexts.h"
#include "radio/VolumeRange.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace {
constexpr int kVolumeSliderWidth = 100;
constexpr int kVolumePageStep = 10;
constexpr int kSpacing = 4;

QToolButton* MakeButton(QWidget* pParent, const char* name)
{
    auto* pButton = new QToolButton(pParent);
    pButton->setObjectName(name);
    pButton->setAutoRaise(true);
    pButton->setFocusPolicy(Qt::TabFocus);
    return pButton;
}
}

CPlayerTransportBar::CPlayerTransportBar(QWidget* pParent)
    : QWidget(pParent)
    , m_pPlayPause(MakeButton(this, kPlayPauseName))
    , m_pStop(MakeButton(this, kStopName))
    , m_pStatus(new QLabel(this))
    , m_pMute(MakeButton(this, kMuteName))
    , m_pVolume(new QSlider(Qt::Horizontal, this))
{
    m_pStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_pStop->setToolTip(PlayerTexts::kStopTip);
    m_pMute->setCheckable(true);

    m_pStatus->setObjectName(kStatusName);
    ShowAsPlainText(m_pStatus);
    m_pStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_pVolume->setObjectName(kVolumeName);
    m_pVolume->setRange(VolumeRange::kMinimum, VolumeRange::kMaximum);
    m_pVolume->setPageStep(kVolumePageStep);
    m_pVolume->setFixedWidth(kVolumeSliderWidth);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(kSpacing, kSpacing / 2, kSpacing, kSpacing / 2);
    pLayout->setSpacing(kSpacing);
    pLayout->addWidget(m_pPlayPause);
    pLayout->addWidget(m_pStop);
    pLayout->addWidget(m_pStatus, 1);
    pLayout->addWidget(m_pMute);
    pLayout->addWidget(m_pVolume);

    connect(m_pPlayPause, &QToolButton::clicked, this, &CPlayerTransportBar::PlayPauseClicked);
    connect(m_pStop, &QToolButton::clicked, this, &CPlayerTransportBar::StopClicked);
    connect(m_pMute, &QToolButton::toggled, this, [this](bool bMuted) {
        RefreshMuteButton();
        emit MuteToggled(bMuted);
    });
    connect(m_pVolume, &QSlider::valueChanged, this, [this](int nPercent) {
        RefreshVolumeTip();
        emit VolumeChanged(nPercent);
        if (!m_pVolume->isSliderDown())
            emit VolumeChosen(nPercent);
    });
    connect(m_pVolume, &QSlider::sliderReleased, this, [this] { emit VolumeChosen(m_pVolume->value()); });

    SetPlaying(false);
    RefreshMuteButton();
    RefreshVolumeTip();
}

void CPlayerTransportBar::SetPlaying(bool bPlaying)
{
    m_pPlayPause->setIcon(style()->standardIcon(bPlaying ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_pPlayPause->setToolTip(bPlaying ? PlayerTexts::kPauseTip : PlayerTexts::kPlayTip);
}

void CPlayerTransportBar::SetStatus(const QString& strStatus)
{
    m_pStatus->setText(strStatus);
    // The status quotes the station's own title.
    m_pStatus->setToolTip(PlainToolTip(strStatus));
}

void CPlayerTransportBar::SetVolume(int nPercent)
{
    const QSignalBlocker blocker(m_pVolume);
    m_pVolume->setValue(nPercent);
    RefreshVolumeTip();
}

void CPlayerTransportBar::SetMuted(bool bMuted)
{
    const QSignalBlocker blocker(m_pMute);
    m_pMute->setChecked(bMuted);
    RefreshMuteButton();
}

void CPlayerTransportBar::RefreshMuteButton()
{
    const bool bMuted = m_pMute->isChecked();
    m_pMute->setIcon(style()->standardIcon(bMuted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
    m_pMute->setToolTip(bMuted ? PlayerTexts::kUnmuteTip : PlayerTexts::kMuteTip);
}

void CPlayerTransportBar::RefreshVolumeTip()
{
    m_pVolume->setToolTip(QString(PlayerTexts::kVolumeTip).arg(m_pVolume->value()));
}
