#include "platform/media/MediaEngine.h"

IMediaEngine::IMediaEngine(QObject* pParent)
    : QObject(pParent)
{
}

IMediaEngine::~IMediaEngine() = default;

void IMediaEngine::UpdateState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit StateChanged(state);
}

void IMediaEngine::UpdateBufferingPercent(int nPercent)
{
    if (m_nBufferingPercent == nPercent)
        return;
    m_nBufferingPercent = nPercent;
    emit BufferingPercentChanged(nPercent);
}

void IMediaEngine::UpdateMetadata(const QString& strStreamTitle, const QString& strStationName)
{
    if (m_strStreamTitle == strStreamTitle && m_strStationName == strStationName)
        return;
    m_strStreamTitle = strStreamTitle;
    m_strStationName = strStationName;
    emit MetadataChanged();
}

void IMediaEngine::UpdateHasVideo(bool bHasVideo)
{
    if (m_bHasVideo == bHasVideo)
        return;
    m_bHasVideo = bHasVideo;
    emit VideoChanged(bHasVideo);
}

void IMediaEngine::UpdateVideoSize(QSize size)
{
    m_videoSize = size;
}

void IMediaEngine::UpdateSeekable(bool bSeekable)
{
    m_bSeekable = bSeekable;
}

void IMediaEngine::UpdateVolume(int nPercent)
{
    if (m_nVolume == nPercent)
        return;
    m_nVolume = nPercent;
    emit VolumeChanged(nPercent);
}

void IMediaEngine::UpdateMuted(bool bMuted)
{
    if (m_bMuted == bMuted)
        return;
    m_bMuted = bMuted;
    emit MutedChanged(bMuted);
}
