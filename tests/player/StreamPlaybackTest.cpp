#include "FakeMediaEngine.h"
#include "FakeTimeShift.h"
#include "ManualPlaybackClock.h"
#include "radio/PlayerTexts.h"
#include "radio/StreamPlayback.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
using Failure = IMediaEngine::Failure;
using State = IMediaEngine::State;

constexpr char kStream[] = "http://127.0.0.1:8580/streams/kestrel-mp3";
// Longer than any wait between reconnection attempts.
constexpr qint64 kLongWhile = 60000;

class StreamPlaybackTest : public ::testing::Test
{
protected:
    CFakeMediaEngine m_engine;
    // The playback's clock, which only the test moves; the playback owns it.
    CManualPlaybackClock& m_clock = *new CManualPlaybackClock;
    CStreamPlayback m_playback{m_engine, std::unique_ptr<IPlaybackClock>(&m_clock)};
    QSignalSpy m_statusSpy{&m_playback, &CStreamPlayback::StatusChanged};
    QSignalSpy m_stateSpy{&m_playback, &CStreamPlayback::PlayStateChanged};

    QStringList Statuses() const
    {
        QStringList statuses;
        for (const QList<QVariant>& arguments : m_statusSpy)
            statuses.append(arguments.at(0).toString());
        return statuses;
    }
};

TEST_F(StreamPlaybackTest, TellsTheListenerEachStepOfPlaying)
{
    m_playback.Play(kStream);
    ASSERT_EQ(QStringList{kStream}, m_engine.m_opened);
    EXPECT_EQ(PlayerTexts::kConnecting, m_playback.Status());
    EXPECT_EQ(wmppsTransitioning, m_playback.PlayState());

    m_engine.UpdateState(State::Opening);
    m_engine.UpdateBufferingPercent(40);
    m_engine.UpdateState(State::Buffering);
    EXPECT_EQ("Buffering 40%", m_playback.Status());
    EXPECT_EQ(wmppsBuffering, m_playback.PlayState());

    m_engine.UpdateState(State::Playing);
    EXPECT_EQ(PlayerTexts::kPlaying, m_playback.Status());
    m_engine.UpdateMetadata("Kestrel Demo Tone", "Kestrel FM");
    EXPECT_EQ("Playing: Kestrel Demo Tone", m_playback.Status());
    m_engine.UpdateMetadata(QString(), "Kestrel FM");
    EXPECT_EQ("Playing: Kestrel FM", m_playback.Status());
    EXPECT_EQ(wmppsPlaying, m_playback.PlayState());

    m_engine.UpdateState(State::Paused);
    EXPECT_EQ(PlayerTexts::kPaused, m_playback.Status());

    m_playback.Stop();
    EXPECT_EQ(PlayerTexts::kStopped, m_playback.Status());
    EXPECT_EQ(wmppsStopped, m_playback.PlayState());
    EXPECT_EQ(1, m_engine.m_nStops);
    // The engine's own end of the stopped stream changes nothing.
    emit m_engine.Ended(IMediaEngine::EndReason::Stopped, Failure::None);
    EXPECT_EQ(QStringList({"Connecting...", "Buffering 40%", "Playing", "Playing: Kestrel Demo Tone",
                           "Playing: Kestrel FM", "Paused", "Stopped"}),
              Statuses());
}

TEST_F(StreamPlaybackTest, AKeptChannelTellsHowFarBehindLiveItPlays)
{
    CFakeTimeShift timeShift;
    m_engine.m_pTimeShift = &timeShift;
    m_playback.Play(kStream);
    m_engine.Play("Artist - Song");
    // Until the buffer holds the channel there is no live edge to tell of.
    EXPECT_EQ("Playing: Artist - Song", m_playback.Status());

    timeShift.Hold(0, 60, 59);
    EXPECT_EQ("Playing: Artist - Song (Live)", m_playback.Status());
    timeShift.Hold(0, 200, 65);
    EXPECT_EQ("-02:15 behind live: Artist - Song", m_playback.Status());
    m_engine.UpdateState(State::Paused);
    EXPECT_EQ(PlayerTexts::kPaused, m_playback.Status());
    m_engine.UpdateState(State::Playing);
    timeShift.Hold(0, 4000, 3998);
    EXPECT_EQ("Playing: Artist - Song (Live)", m_playback.Status());
    m_engine.UpdateMetadata(QString(), QString());
    EXPECT_EQ("Playing (Live)", m_playback.Status());

    // A buffer that keeps nothing (time-shift off) leaves the status as it was.
    timeShift.Drop();
    EXPECT_EQ(PlayerTexts::kPlaying, m_playback.Status());
}

TEST_F(StreamPlaybackTest, RefusesWhatIsNotANetworkStreamWithoutTouchingTheEngine)
{
    for (const char* address : {"file:///etc/passwd", "/etc/passwd", "av://lavfi:sine", "edl://x"}) {
        m_playback.Play(address);
        EXPECT_EQ(PlayerTexts::kAddressRefused, m_playback.Status()) << address;
    }
    EXPECT_TRUE(m_engine.m_opened.isEmpty());
    EXPECT_TRUE(m_playback.Address().isEmpty());

    m_playback.Play("");
    EXPECT_EQ(PlayerTexts::kNoAddress, m_playback.Status());
    // Play again has nothing to go back to.
    m_playback.Resume();
    EXPECT_TRUE(m_engine.m_opened.isEmpty());
}

TEST_F(StreamPlaybackTest, HandsTheEngineTheSamePolicyForPlaylistEntries)
{
    ASSERT_TRUE(m_engine.m_filter);
    EXPECT_TRUE(m_engine.m_filter("http://radio.example/second-server.mp3"));
    EXPECT_FALSE(m_engine.m_filter("file:///etc/passwd"));
    EXPECT_FALSE(m_engine.m_filter("/home/user/.ssh/id_rsa"));
}

TEST_F(StreamPlaybackTest, ADeadStreamEndsInAnErrorThatSaysWhy)
{
    const std::pair<Failure, const char*> cases[] = {
        {Failure::NotFound, PlayerTexts::kStreamNotFound},
        {Failure::CannotConnect, PlayerTexts::kCannotConnect},
        {Failure::AccessDenied, PlayerTexts::kAccessDenied},
        {Failure::ServerError, PlayerTexts::kServerError},
        {Failure::TimedOut, PlayerTexts::kTimedOut},
        {Failure::UnsupportedFormat, PlayerTexts::kUnsupportedFormat},
        {Failure::AddressRefused, PlayerTexts::kAddressRefused},
        {Failure::Other, PlayerTexts::kCannotPlay},
    };
    for (const auto& [failure, text] : cases) {
        m_playback.Play(kStream);
        m_engine.Fail(failure);
        EXPECT_EQ(text, m_playback.Status());
        EXPECT_EQ(wmppsReady, m_playback.PlayState());
    }
    // None of them ever played: nothing is tried again.
    m_clock.Advance(kLongWhile);
    EXPECT_EQ(std::size(cases), static_cast<size_t>(m_engine.m_opened.size()));
}

TEST_F(StreamPlaybackTest, ReconnectsADroppedStreamWithGrowingWaits)
{
    m_playback.Play(kStream);
    m_engine.Play("Song");
    m_engine.Drop();
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
    EXPECT_EQ(wmppsReconnecting, m_playback.PlayState());
    m_clock.Advance(999);
    EXPECT_EQ(1, m_engine.m_opened.size());
    m_clock.Advance(1);
    ASSERT_EQ(2, m_engine.m_opened.size());
    EXPECT_EQ(PlayerTexts::kReconnecting, m_playback.Status());

    // The station is away for a while: each failed attempt waits longer,
    // counting the seconds down.
    m_engine.Fail(Failure::CannotConnect);
    EXPECT_EQ("Reconnecting in 2 s", m_playback.Status());
    m_clock.Advance(1000);
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
    EXPECT_EQ(2, m_engine.m_opened.size());
    m_clock.Advance(1000);
    ASSERT_EQ(3, m_engine.m_opened.size());
    m_engine.Fail(Failure::TimedOut);
    EXPECT_EQ("Reconnecting in 4 s", m_playback.Status());
    m_clock.Advance(3000);
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
    m_clock.Advance(1000);
    EXPECT_EQ(QStringList({kStream, kStream, kStream, kStream}), m_engine.m_opened);
}

TEST_F(StreamPlaybackTest, AnOpeningTheEngineRefusesEndsInAnError)
{
    m_playback.Play(kStream);
    EXPECT_EQ(PlayerTexts::kConnecting, m_playback.Status());
    m_engine.RefuseOpening();
    EXPECT_EQ(PlayerTexts::kCannotPlay, m_playback.Status());
    EXPECT_EQ(wmppsReady, m_playback.PlayState());
}

TEST_F(StreamPlaybackTest, SteadyPlayStartsTheWaitsFromTheShortestAgain)
{
    m_playback.Play(kStream);
    m_engine.Play();
    m_clock.Advance(2000);
    m_engine.Drop();
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
    m_clock.Advance(1000);
    ASSERT_EQ(2, m_engine.m_opened.size());

    // Back for a moment only: the waits go on growing.
    m_engine.Play();
    m_clock.Advance((CStreamPlayback::kSteadyPlaySeconds - 1) * 1000);
    m_engine.Drop();
    EXPECT_EQ("Reconnecting in 2 s", m_playback.Status());
    m_clock.Advance(2000);
    ASSERT_EQ(3, m_engine.m_opened.size());

    // Back for good, and then a drop: the shortest wait again.
    m_engine.Play();
    m_clock.Advance(CStreamPlayback::kSteadyPlaySeconds * 1000);
    m_engine.Drop();
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
}

TEST_F(StreamPlaybackTest, StoppingEndsTheWaitToReconnect)
{
    m_playback.Play(kStream);
    m_engine.Play();
    m_engine.Drop();
    EXPECT_EQ("Reconnecting in 1 s", m_playback.Status());
    m_playback.Stop();
    EXPECT_EQ(PlayerTexts::kStopped, m_playback.Status());
    EXPECT_EQ(wmppsStopped, m_playback.PlayState());
    m_clock.Advance(kLongWhile);
    EXPECT_EQ(1, m_engine.m_opened.size());
}

TEST_F(StreamPlaybackTest, AStreamThatIsGoneForGoodStopsTheReconnecting)
{
    m_playback.Play(kStream);
    m_engine.Play();
    m_engine.Drop();
    m_clock.Advance(1000);
    ASSERT_EQ(2, m_engine.m_opened.size());
    m_engine.Fail(Failure::NotFound);
    EXPECT_EQ(PlayerTexts::kStreamNotFound, m_playback.Status());
    m_clock.Advance(kLongWhile);
    EXPECT_EQ(2, m_engine.m_opened.size());
}

TEST_F(StreamPlaybackTest, AReconnectedStreamPlaysOnAndAFinishedFileDoesNotLoop)
{
    m_playback.Play(kStream);
    m_engine.Play();
    m_engine.Drop();
    m_clock.Advance(1000);
    ASSERT_EQ(2, m_engine.m_opened.size());
    m_engine.Play("Back again");
    EXPECT_EQ("Playing: Back again", m_playback.Status());

    m_engine.m_opened.clear();
    m_playback.Play("http://radio.example/recording.mp3");
    m_engine.UpdateSeekable(true);
    m_engine.Play();
    m_engine.Drop();
    EXPECT_EQ(PlayerTexts::kFinished, m_playback.Status());
    EXPECT_EQ(wmppsMediaEnded, m_playback.PlayState());
    m_clock.Advance(kLongWhile);
    EXPECT_EQ(1, m_engine.m_opened.size());
}

TEST_F(StreamPlaybackTest, PlayGoesOnAfterAPauseAndStartsAgainAfterAStop)
{
    m_playback.Play(kStream);
    m_engine.Play();
    m_playback.Pause();
    EXPECT_TRUE(m_engine.m_bPaused);
    m_engine.UpdateState(State::Paused);
    m_playback.Resume();
    EXPECT_FALSE(m_engine.m_bPaused);
    EXPECT_EQ(1, m_engine.m_opened.size());

    m_playback.Stop();
    m_playback.Resume();
    EXPECT_EQ(2, m_engine.m_opened.size());
    EXPECT_EQ(PlayerTexts::kConnecting, m_playback.Status());
}

TEST_F(StreamPlaybackTest, SaysSoWhenThereIsNoMediaLibrary)
{
    m_engine.m_bAvailable = false;
    m_playback.Play(kStream);
    EXPECT_EQ(PlayerTexts::kUnavailable, m_playback.Status());
    EXPECT_TRUE(m_engine.m_opened.isEmpty());
}
}
