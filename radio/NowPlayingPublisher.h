#pragma once

#include "nowplaying/NowPlayingRelay.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CWMPPlayer4;

// The radio page's link to the now-playing relay: for as long as the page
// lives it publishes its player (channel, station's title, play state,
// status, volume) and carries out the relay's pause, resume and volume
// requests on the player.
class CNowPlayingPublisher : public QObject
{
    Q_OBJECT

public:
    explicit CNowPlayingPublisher(CWMPPlayer4& player);
    ~CNowPlayingPublisher() override;

    void PublishChannel(const QString& strName, const QString& strAddress);
    void PublishStatus(const QString& strStatus);

private:
    // The relay while this page is the one it publishes, else null.
    CNowPlayingRelay* Relay() const;
    void PublishPlayState(long nNewState);
    void PublishStreamTitle();
    void PublishVolume(int nPercent);
    void OnPauseRequested();
    void OnResumeRequested();
    void OnVolumeRequested(int nPercent);
    void OnSeekRequested(double dSeconds);
    // Follows the player's time-shift buffer once the player has one.
    void FollowTimeShift();
    // What the buffer allows and where play stands in it.
    void PublishTimeShift();

    CWMPPlayer4& m_player;
    QPointer<CNowPlayingRelay> m_pRelay;
    bool m_bFollowingTimeShift = false;
};
