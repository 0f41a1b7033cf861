#include "radio/HeardSongs.h"

#include "platform/history/SongHistory.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/SongRecorder.h"

#include <cmath>

namespace {
constexpr char kPlaysNow[] = "It plays now: it is saved once it ends.";
constexpr char kUntitledNow[] = "The station names no songs: the newest %1 minutes of it are saved as one file.";
constexpr char kWhole[] = "Save the song to your music folder, as the station sent it.";
constexpr char kIncomplete[] = "Its beginning is no longer kept: it is saved only if you confirm.";
constexpr char kTimeShiftOff[] = "Not kept: time-shift is off.";
constexpr char kNothingPlays[] = "Not kept: songs are kept only while their channel plays.";
constexpr char kOtherChannel[] = "Not kept: only the songs of the channel playing now are kept.";
constexpr char kBeforeOpening[] = "Not kept: it played before the channel was last opened.";
constexpr char kTooOld[] = "Not kept: it is older than what time-shift keeps.";

QDateTime SystemTime()
{
    return QDateTime::currentDateTimeUtc();
}

CHeardSongs::Verdict Gone(const char* why)
{
    return {CHeardSongs::Holding::Gone, QString::fromLatin1(why), {}};
}
}

CHeardSongs::CHeardSongs(IMediaEngine& engine, Clock clock, QObject* pParent)
    : QObject(pParent)
    , m_engine(engine)
    , m_clock(clock ? std::move(clock) : Clock(&SystemTime))
{
    connect(&m_engine, &IMediaEngine::MetadataChanged, this, &CHeardSongs::OnMetadataChanged);
}

void CHeardSongs::SetChannel(const QString& strChannel)
{
    m_strChannel = strChannel;
    m_songs.clear();
    m_bTitleHeard = false;
}

void CHeardSongs::OnMetadataChanged()
{
    const QString strTitle = m_engine.StreamTitle();
    if (!m_songs.isEmpty() && m_songs.last().dEnd < 0 && m_songs.last().strTitle == strTitle)
        return;
    bool bBeganInStream = m_bTitleHeard;
    // The station's name may come before any title: only a title marks
    // where a song begins.
    m_bTitleHeard = m_bTitleHeard || !strTitle.isEmpty();
    const ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr || !pTimeShift->IsEnabled()) {
        // Without a buffer no song is kept, and positions heard before it
        // went are not positions in the next one. A buffer that has not yet
        // reported on a stream just opened keeps it all the same: the first
        // title comes as soon as the stream does.
        m_songs.clear();
        return;
    }
    // libmpv tells a title when play reaches it: the play position is
    // where the song begins in the stream.
    const double dNow = pTimeShift->Position();
    if (!m_songs.isEmpty() && (m_songs.last().dStart > dNow || m_songs.last().dEnd > dNow)) {
        // The stream began anew (a reconnection): its times start over, and
        // its first song began before it.
        m_songs.clear();
        bBeganInStream = false;
    }
    if (!m_songs.isEmpty() && m_songs.last().dEnd < 0)
        m_songs.last().dEnd = dNow;
    m_songs.append(Song{strTitle, dNow, -1, bBeganInStream, m_clock()});
    if (m_songs.size() > kMaxSongs)
        m_songs.removeFirst();
}

std::optional<CHeardSongs::Song> CHeardSongs::Match(const SongHistoryEntry& entry) const
{
    std::optional<Song> best;
    qint64 nBestDistance = kSameMomentSeconds + 1;
    for (const Song& song : m_songs) {
        if (song.strTitle != entry.strTitle)
            continue;
        const qint64 nDistance = std::abs(song.heard.secsTo(entry.started));
        if (nDistance < nBestDistance) {
            nBestDistance = nDistance;
            best = song;
        }
    }
    return best;
}

CHeardSongs::Verdict CHeardSongs::Find(const SongHistoryEntry& entry) const
{
    const ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr || !pTimeShift->IsEnabled())
        return Gone(kTimeShiftOff);
    if (!pTimeShift->IsActive())
        return Gone(kNothingPlays);
    if (entry.strChannel != m_strChannel)
        return Gone(kOtherChannel);
    const std::optional<Song> song = Match(entry);
    // A station without titles is one song for as long as it plays.
    const bool bUntitledNow = entry.strTitle.isEmpty() && m_engine.StreamTitle().isEmpty() && !entry.ended.isValid();
    if (bUntitledNow && (!song || song->dEnd < 0))
        return {Holding::Playing, QString::fromLatin1(kUntitledNow).arg(CSongRecorder::kUntitledSaveMinutes), {}};
    if (!song)
        return Gone(kBeforeOpening);
    if (song->dEnd < 0)
        return {Holding::Playing, QString::fromLatin1(kPlaysNow), *song};
    if (song->dEnd <= pTimeShift->BufferStart())
        return Gone(kTooOld);
    if (!song->bComplete || song->dStart < pTimeShift->BufferStart())
        return {Holding::Incomplete, QString::fromLatin1(kIncomplete), *song};
    return {Holding::Whole, QString::fromLatin1(kWhole), *song};
}
