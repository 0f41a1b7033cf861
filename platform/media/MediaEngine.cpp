#include "platform/media/MediaEngine.h"

CMediaEngine::CMediaEngine(QObject* pParent)
    : QObject(pParent)
{
}

CMediaEngine::~CMediaEngine() = default;

void CMediaEngine::UpdateState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit StateChanged(state);
}

void CMediaEngine::UpdateBufferingPercent(int nPercent)
{
    if (m_nBufferingPercent == nPercent)
        return;
    m_nBufferingPercent = nPercent;
    emit BufferingPercentChanged(nPercent);
}

void CMediaEngine::UpdateMetadata(const QString& strStreamTitle, const QString& strStationName)
{
    if (m_strStreamTitle == strStreamTitle && m_strStationName == strStationName)
        return;
    m_strStreamTitle = strStreamTitle;
    m_strStationName = strStationName;
    emit MetadataChanged();
}

void CMediaEngine::UpdateHasVideo(bool bHasVideo)
{
    if (m_bHasVideo == bHasVideo)
        return;
    m_bHasVideo = bHasVideo;
    emit VideoChanged(bHasVideo);
}

void CMediaEngine::UpdateSeekable(bool bSeekable)
{
    m_bSeekable = bSeekable;
}

void CMediaEngine::UpdateVolume(int nPercent)
{
    if (m_nVolume == nPercent)
        return;
    m_nVolume = nPercent;
    emit VolumeChanged(nPercent);
}

void CMediaEngine::UpdateMuted(bool bMuted)
{
    if (m_bMuted == bMuted)
        return;
    m_bMuted = bMuted;
    emit MutedChanged(bMuted);
}
