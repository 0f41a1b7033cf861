#include "radio/SongRecorder.h"

#include "fw/MessageBox.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/SongFileName.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr char kMusicSubfolder[] = "Kestrel Radio";
constexpr char kArtistSeparator[] = " - ";
// Written under a hidden name beside the song's own until it is whole.
constexpr char kPartialPrefix[] = ".saving-";
constexpr char kUnknownSong[] = "Unknown song";
constexpr char kUnknownChannel[] = "Unknown channel";
// The date and time in the name of a stretch of a station without titles;
// no colons, which other systems refuse in a name.
constexpr char kStretchTimeFormat[] = "yyyy-MM-dd HH.mm.ss";
constexpr double kSecondsPerMinute = 60.0;

constexpr char kSaved[] = "Saved \"%1\"";
constexpr char kNotSaved[] = "The song \"%1\" could not be saved: %2";
constexpr char kFolderUnwritable[] = "the folder %1 cannot be written";
constexpr char kFolderNotMade[] = "the folder %1 cannot be made: %2 is a file, not a folder";
constexpr char kWriteFailed[] = "writing into the folder %1 failed: %2";
// Written after a saved song, and taken back, to learn whether the disk
// took it all: more than a file system's last block can hold unused.
constexpr qsizetype kProbeBytes = 64 * 1024;
constexpr char kStreamReplaced[] = "another stream began before it ended, and only the stream playing now is kept";
constexpr char kNoBuffer[] = "time-shift is off, so nothing of the song is kept";
constexpr char kConfirmIncomplete[] =
    "The beginning of \"%1\" was not heard or is no longer kept, so the song is incomplete.\n\nSave it anyway?";

// Why the folder cannot be made or written: a file where a folder must be,
// or a folder the user may not write.
QString FolderRefusal(const QString& strFolder)
{
    QFileInfo existing(strFolder);
    while (!existing.exists() && !existing.isRoot())
        existing = QFileInfo(existing.absolutePath());
    if (existing.exists() && !existing.isDir())
        return QString::fromLatin1(kFolderNotMade).arg(strFolder, existing.absoluteFilePath());
    return QString::fromLatin1(kFolderUnwritable).arg(strFolder);
}

// What the system says when a little more is written to the file (a full
// disk, a file size limit); empty when it takes it. The file is left as it
// was.
QString WriteRefusal(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return file.errorString();
    const qint64 nSize = file.size();
    const QByteArray probe(kProbeBytes, '\0');
    const bool bTaken = file.write(probe) == probe.size() && file.flush();
    const QString strRefusal = bTaken ? QString() : file.errorString();
    file.resize(nSize);
    return strRefusal;
}
}

CSongRecorder::CSongRecorder(IMediaEngine& engine, QObject* pParent)
    : QObject(pParent)
    , m_engine(engine)
{
    connect(&m_engine, &IMediaEngine::MetadataChanged, this, &CSongRecorder::OnMetadataChanged);
    // A reconnection, or Play after Stop, opens the stream anew.
    connect(&m_engine, &IMediaEngine::LoadStarted, this, &CSongRecorder::ForgetSongs);
}

QString CSongRecorder::MusicFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::MusicLocation))
        .filePath(QLatin1String(kMusicSubfolder));
}

SongTags CSongRecorder::TagsOf(const QString& strStreamTitle, const QString& strChannel)
{
    SongTags tags;
    tags.strAlbum = strChannel;
    const qsizetype nSeparator = strStreamTitle.indexOf(QLatin1String(kArtistSeparator));
    if (nSeparator < 0) {
        tags.strTitle = strStreamTitle.trimmed();
        return tags;
    }
    tags.strArtist = strStreamTitle.left(nSeparator).trimmed();
    tags.strTitle = strStreamTitle.mid(nSeparator + qsizetype(sizeof kArtistSeparator) - 1).trimmed();
    return tags;
}

void CSongRecorder::SetChannel(const QString& strChannel)
{
    // Before the name changes, so that the song is told as heard.
    ForgetSongs();
    m_strChannel = strChannel;
}

void CSongRecorder::ForgetSongs()
{
    if (m_bSaveCurrent && m_current) {
        const QString strShown = m_current->strTitle.isEmpty() ? m_strChannel : m_current->strTitle;
        emit Report(QString::fromLatin1(kNotSaved).arg(strShown, QLatin1String(kStreamReplaced)));
    }
    m_current.reset();
    m_bSaveCurrent = false;
    m_bTitleHeard = false;
}

void CSongRecorder::SaveCurrentSong()
{
    // Without titles no song ends: there is nothing to wait for.
    if (m_engine.StreamTitle().isEmpty()) {
        SaveNewestMinutes();
        return;
    }
    m_bSaveCurrent = true;
}

void CSongRecorder::SaveHeardSong(const QString& strStreamTitle, double dStart, double dEnd, bool bComplete)
{
    Save(Song{strStreamTitle, dStart, bComplete}, dEnd);
}

void CSongRecorder::SaveNewestMinutes()
{
    const ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr || !pTimeShift->IsActive()) {
        emit Report(QString::fromLatin1(kNotSaved).arg(m_strChannel, QLatin1String(kNoBuffer)));
        return;
    }
    const QString strChannel = m_strChannel.isEmpty() ? QString::fromLatin1(kUnknownChannel) : m_strChannel;
    const QString strName =
        strChannel + u' ' + QDateTime::currentDateTime().toString(QLatin1String(kStretchTimeFormat));
    const double dEnd = pTimeShift->BufferEnd();
    const double dStart = qMax(pTimeShift->BufferStart(), dEnd - kUntitledSaveMinutes * kSecondsPerMinute);
    // What the buffer holds of those minutes is the whole of what is asked.
    Save(Song{strName, dStart, true}, dEnd);
}

void CSongRecorder::SetRecordSongs(bool bRecord)
{
    m_bRecordSongs = bRecord;
}

void CSongRecorder::OnMetadataChanged()
{
    const QString strTitle = m_engine.StreamTitle();
    if (m_current && m_current->strTitle == strTitle)
        return;
    // The station's name may come before any title: only a title marks
    // where a song begins.
    const bool bBeganInStream = m_bTitleHeard;
    m_bTitleHeard = m_bTitleHeard || !strTitle.isEmpty();
    ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr || !pTimeShift->IsEnabled()) {
        // No buffer, no songs to save. A buffer that has not yet reported on
        // a stream just opened keeps it all the same: the first title comes
        // as soon as the stream does.
        m_current.reset();
        return;
    }
    // libmpv tells a title when play reaches it: the play position is
    // where the song begins in the stream.
    const double dNow = pTimeShift->Position();
    if (m_current) {
        const Song ended = *m_current;
        const bool bAsked = m_bSaveCurrent;
        m_bSaveCurrent = false;
        const bool bRecorded = m_bRecordSongs && ended.bComplete && ended.dStart >= pTimeShift->BufferStart() &&
            dNow - ended.dStart >= kShortestRecordedSeconds;
        if (bAsked || bRecorded)
            Save(ended, dNow);
    }
    // The first title after the stream opened began before it.
    m_current = Song{strTitle, dNow, bBeganInStream};
}

void CSongRecorder::Save(const Song& song, double dEnd)
{
    const QString strShown = song.strTitle.isEmpty() ? m_strChannel : song.strTitle;
    ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr || !pTimeShift->IsActive()) {
        emit Report(QString::fromLatin1(kNotSaved).arg(strShown, QLatin1String(kNoBuffer)));
        return;
    }
    const bool bComplete = song.bComplete && song.dStart >= pTimeShift->BufferStart();
    if (!bComplete &&
        AfxMessageBox(QString::fromLatin1(kConfirmIncomplete).arg(strShown), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const QString strFolder =
        QDir(MusicFolder()).filePath(SongFileName::Sanitised(m_strChannel, QLatin1String(kUnknownChannel)));
    if (!QDir().mkpath(strFolder) || !QFileInfo(strFolder).isWritable()) {
        emit Report(QString::fromLatin1(kNotSaved).arg(strShown, FolderRefusal(strFolder)));
        return;
    }
    const QString strExtension = pTimeShift->SaveExtension();
    const QString strBaseName =
        SongFileName::Sanitised(song.strTitle.isEmpty() ? m_strChannel : song.strTitle, QLatin1String(kUnknownSong));
    const QString strFinalPath = SongFileName::FreePath(strFolder, strBaseName, strExtension);
    const QString strPartialPath =
        SongFileName::FreePath(strFolder, QLatin1String(kPartialPrefix) + strBaseName, strExtension);
    m_saving.insert(strPartialPath, Saving{strFinalPath, TagsOf(song.strTitle, m_strChannel)});
    // Connected once, for every save of this buffer.
    connect(pTimeShift, &ITimeShift::SaveFinished, this, &CSongRecorder::OnSaveFinished, Qt::UniqueConnection);
    pTimeShift->Save(qMax(song.dStart, pTimeShift->BufferStart()), dEnd, strPartialPath);
}

void CSongRecorder::OnSaveFinished(const QString& strPath, bool bSaved, const QString& strError)
{
    const auto saving = m_saving.constFind(strPath);
    if (saving == m_saving.cend())
        return;
    const Saving done = saving.value();
    m_saving.erase(saving);
    const QString strShown = QFileInfo(done.strFinalPath).completeBaseName();
    QString strWhy = strError;
    if (bSaved && !WriteSongTags(strPath, done.tags, &strWhy))
        bSaved = false;
    // libmpv writes into a full disk without saying so, and its own words
    // when it fails ("error running command") tell the listener nothing;
    // what the disk says when a little more is written, after the song and
    // its tags, does.
    const QString strRefusal = WriteRefusal(strPath);
    if (!strRefusal.isEmpty()) {
        bSaved = false;
        strWhy = QString::fromLatin1(kWriteFailed).arg(QFileInfo(strPath).path(), strRefusal);
    }
    // Renaming never replaces a file: one that took the name meanwhile
    // makes way for the next free name.
    QString strFinalPath = done.strFinalPath;
    if (bSaved && QFileInfo::exists(strFinalPath)) {
        const QFileInfo final(strFinalPath);
        strFinalPath = SongFileName::FreePath(final.path(), final.completeBaseName(), final.suffix());
    }
    if (bSaved && !QFile::rename(strPath, strFinalPath)) {
        bSaved = false;
        strWhy = QString::fromLatin1(kFolderUnwritable).arg(QFileInfo(strFinalPath).path());
    }
    if (!bSaved) {
        QFile::remove(strPath);
        emit Report(QString::fromLatin1(kNotSaved).arg(strShown, strWhy));
        return;
    }
    emit Report(QString::fromLatin1(kSaved).arg(QFileInfo(strFinalPath).fileName()));
}
