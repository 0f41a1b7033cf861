// The now-playing relay and its binding to the desktop's media controls:
// what the desktop is told for what the radio page publishes, and where the
// desktop's requests go.
#include "FakeDesktopMediaControls.h"
#include "TestApplication.h"
#include "nowplaying/DesktopMediaControlsBinding.h"
#include "nowplaying/NowPlayingRelay.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
using PlayState = CNowPlayingRelay::PlayState;
using Status = IDesktopMediaControls::PlaybackStatus;

const QString kChannel = QStringLiteral("Kestrel Radio Demo");
const QString kAddress = QStringLiteral("http://127.0.0.1:8000/streams/kestrel-mp3");

class NowPlayingRelayTest : public ::testing::Test
{
protected:
    TestApplication m_app;
    CNowPlayingRelay m_relay;
    QObject m_page;
};

TEST_F(NowPlayingRelayTest, APageThatClosesTakesItsChannelAndStatusButNotTheVolume)
{
    QSignalSpy opened(&m_relay, &CNowPlayingRelay::RadioPageOpenChanged);
    m_relay.Attach(&m_page);
    m_relay.SetChannel(kChannel, kAddress);
    m_relay.SetStreamTitle(QStringLiteral("Track 1"));
    m_relay.SetPlayState(PlayState::Playing);
    m_relay.SetStatusText(QStringLiteral("Playing"));
    m_relay.SetVolume(35);
    ASSERT_TRUE(m_relay.IsRadioPageOpen());

    QSignalSpy status(&m_relay, &CNowPlayingRelay::StatusTextChanged);
    m_relay.Detach(&m_page);
    EXPECT_FALSE(m_relay.IsRadioPageOpen());
    EXPECT_TRUE(m_relay.ChannelName().isEmpty());
    EXPECT_TRUE(m_relay.StreamTitle().isEmpty());
    EXPECT_EQ(m_relay.GetPlayState(), PlayState::Stopped);
    ASSERT_EQ(status.count(), 1) << "the status bar hears that nothing plays";
    EXPECT_TRUE(status.first().first().toString().isEmpty());
    EXPECT_EQ(m_relay.Volume(), 35);
    ASSERT_EQ(opened.count(), 2);
    EXPECT_FALSE(opened.last().first().toBool());
}

TEST_F(NowPlayingRelayTest, ANewerPageIsTheOnePublishedAndTheOlderOneClosingChangesNothing)
{
    QObject newerPage;
    m_relay.Attach(&m_page);
    m_relay.Attach(&newerPage);
    EXPECT_FALSE(m_relay.IsPublisher(&m_page));
    EXPECT_TRUE(m_relay.IsPublisher(&newerPage));
    m_relay.SetChannel(kChannel, kAddress);
    m_relay.Detach(&m_page);
    EXPECT_TRUE(m_relay.IsRadioPageOpen());
    EXPECT_EQ(m_relay.ChannelName(), kChannel);
}

TEST_F(NowPlayingRelayTest, AnotherChannelForgetsTheStationsTitle)
{
    m_relay.Attach(&m_page);
    m_relay.SetChannel(kChannel, kAddress);
    m_relay.SetStreamTitle(QStringLiteral("Track 1"));
    m_relay.SetChannel(QStringLiteral("Kestrel Talk"), QStringLiteral("http://127.0.0.1:8000/streams/kestrel-talk"));
    EXPECT_TRUE(m_relay.StreamTitle().isEmpty());
}

TEST_F(NowPlayingRelayTest, PlayResumesAPauseAndPauseActsOnlyOnWhatPlays)
{
    QSignalSpy resume(&m_relay, &CNowPlayingRelay::ResumeRequested);
    QSignalSpy pause(&m_relay, &CNowPlayingRelay::PauseRequested);
    m_relay.Attach(&m_page);

    m_relay.Pause();
    EXPECT_EQ(pause.count(), 0) << "nothing plays";

    m_relay.SetPlayState(PlayState::Playing);
    m_relay.Play();
    EXPECT_EQ(resume.count(), 0) << "playing already";
    m_relay.PlayPause();
    EXPECT_EQ(pause.count(), 1);

    m_relay.SetPlayState(PlayState::Paused);
    m_relay.PlayPause();
    EXPECT_EQ(resume.count(), 1);
    m_relay.Play();
    EXPECT_EQ(resume.count(), 2);
}

TEST_F(NowPlayingRelayTest, VolumeRequestsReachOnlyAnOpenPageAndStayInRange)
{
    QSignalSpy requests(&m_relay, &CNowPlayingRelay::VolumeRequested);
    m_relay.RequestVolume(40);
    EXPECT_EQ(requests.count(), 0) << "no player to take it";
    m_relay.Attach(&m_page);
    m_relay.RequestVolume(140);
    m_relay.RequestVolume(-3);
    ASSERT_EQ(requests.count(), 2);
    EXPECT_EQ(requests.at(0).first().toInt(), 100);
    EXPECT_EQ(requests.at(1).first().toInt(), 0);
}

TEST_F(NowPlayingRelayTest, BeforeAnyPlayerTheVolumeIsTheStoredOne)
{
    WriteSettingInt(SettingNames::kPlayerVolume, 72);
    EXPECT_EQ(m_relay.Volume(), 72);
    WriteSettingInt(SettingNames::kPlayerVolume, 250);
    EXPECT_EQ(m_relay.Volume(), 100) << "an edited profile stays in range";
}

class DesktopMediaControlsBindingTest : public NowPlayingRelayTest
{
protected:
    CFakeDesktopMediaControls m_controls;
    CDesktopMediaControlsBinding m_binding{m_relay, m_controls, QStringLiteral("file:///icons/kestrel-radio.svg")};
};

TEST_F(DesktopMediaControlsBindingTest, TheTitleIsTheStationsSongElseTheChannelsName)
{
    m_relay.Attach(&m_page);
    m_relay.SetChannel(kChannel, kAddress);
    const IDesktopMediaControls::Track channelOnly = m_controls.LastTrack();
    EXPECT_EQ(channelOnly.title, kChannel);
    EXPECT_TRUE(channelOnly.artist.isEmpty()) << "not the name twice";
    EXPECT_EQ(channelOnly.album, kChannel);
    EXPECT_EQ(channelOnly.url, kAddress);
    EXPECT_EQ(channelOnly.artUrl, QStringLiteral("file:///icons/kestrel-radio.svg"));
    EXPECT_NE(channelOnly.nId, 0u);

    // Text from the station is passed on as it came, never read as markup.
    const QString song = QStringLiteral("<b>Kestrel</b> & Friends - Track 2");
    m_relay.SetStreamTitle(song);
    const IDesktopMediaControls::Track withSong = m_controls.LastTrack();
    EXPECT_EQ(withSong.title, song);
    EXPECT_EQ(withSong.artist, kChannel);
    EXPECT_EQ(withSong.album, kChannel);
    EXPECT_NE(withSong.nId, channelOnly.nId) << "a new song is a new track";

    const qsizetype nTold = m_controls.m_tracks.size();
    m_relay.SetStreamTitle(song);
    EXPECT_EQ(m_controls.m_tracks.size(), nTold) << "nothing changed, nothing told";

    m_relay.Detach(&m_page);
    EXPECT_EQ(m_controls.LastTrack(), IDesktopMediaControls::Track()) << "no track once the page is gone";
}

TEST_F(DesktopMediaControlsBindingTest, HowFarBehindLiveIsANoteOnTheSameTrack)
{
    m_relay.Attach(&m_page);
    m_relay.SetChannel(kChannel, kAddress);
    m_relay.SetStreamTitle(QStringLiteral("Artist - Song"));
    const quint64 nSong = m_controls.LastTrack().nId;
    EXPECT_TRUE(m_controls.LastTrack().comment.isEmpty()) << "no note without time-shift";

    m_relay.SetLiveEdgeText(QStringLiteral("-02:15 behind live"));
    EXPECT_EQ(m_controls.LastTrack().comment, QStringLiteral("-02:15 behind live"));
    EXPECT_EQ(m_controls.LastTrack().nId, nSong) << "the same song goes on";
    m_relay.SetLiveEdgeText(QStringLiteral("Live"));
    EXPECT_EQ(m_controls.LastTrack().comment, QStringLiteral("Live"));
    EXPECT_EQ(m_controls.LastTrack().nId, nSong);

    m_relay.SetStreamTitle(QStringLiteral("Artist - Next"));
    EXPECT_NE(m_controls.LastTrack().nId, nSong) << "another song is another track";
    EXPECT_EQ(m_controls.LastTrack().comment, QStringLiteral("Live"));
    m_relay.Detach(&m_page);
    EXPECT_EQ(m_controls.LastTrack(), IDesktopMediaControls::Track()) << "the note goes with the page";
}

TEST_F(DesktopMediaControlsBindingTest, ControlFollowsTheRadioPageAndTheStatusTheRelaysPlayState)
{
    EXPECT_FALSE(m_controls.m_bControllable);
    m_relay.Attach(&m_page);
    EXPECT_TRUE(m_controls.m_bControllable);
    m_relay.SetPlayState(PlayState::Playing);
    EXPECT_EQ(m_controls.m_status, Status::Playing);
    m_relay.SetPlayState(PlayState::Paused);
    EXPECT_EQ(m_controls.m_status, Status::Paused);
    m_relay.Detach(&m_page);
    EXPECT_FALSE(m_controls.m_bControllable);
    EXPECT_EQ(m_controls.m_status, Status::Stopped);
}

TEST_F(DesktopMediaControlsBindingTest, TheVolumeIsAFractionOutsideAndWholePercentInside)
{
    m_relay.Attach(&m_page);
    m_relay.SetVolume(35);
    EXPECT_DOUBLE_EQ(m_controls.m_dVolume, 0.35);

    QSignalSpy requests(&m_relay, &CNowPlayingRelay::VolumeRequested);
    emit m_controls.VolumeRequested(0.555);
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.first().first().toInt(), 56);
}

TEST_F(DesktopMediaControlsBindingTest, TheDesktopsTransportRequestsGoToTheRelay)
{
    QSignalSpy pause(&m_relay, &CNowPlayingRelay::PauseRequested);
    QSignalSpy resume(&m_relay, &CNowPlayingRelay::ResumeRequested);
    m_relay.Attach(&m_page);
    m_relay.SetPlayState(PlayState::Playing);
    emit m_controls.PauseRequested();
    EXPECT_EQ(pause.count(), 1);
    m_relay.SetPlayState(PlayState::Paused);
    emit m_controls.PlayPauseRequested();
    EXPECT_EQ(resume.count(), 1);
}

TEST_F(DesktopMediaControlsBindingTest, TheDesktopSeeksOnlyWhatCanSeekAndInSeconds)
{
    QSignalSpy seeks(&m_relay, &CNowPlayingRelay::SeekRequested);
    m_relay.Attach(&m_page);
    emit m_controls.SeekRequested(-30000000);
    EXPECT_EQ(seeks.count(), 0) << "a live stream without a buffer does not move";
    EXPECT_FALSE(m_controls.m_bSeekable);

    m_relay.SetCanSeek(true);
    EXPECT_TRUE(m_controls.m_bSeekable);
    emit m_controls.SeekRequested(-30000000);
    ASSERT_EQ(seeks.count(), 1);
    EXPECT_DOUBLE_EQ(seeks.first().first().toDouble(), -30.0);

    // The page that closes takes its buffer with it.
    m_relay.Detach(&m_page);
    EXPECT_FALSE(m_controls.m_bSeekable);
}
}
