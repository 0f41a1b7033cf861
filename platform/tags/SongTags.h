#pragma once

#include <QString>

// The tags a saved song carries, where its file type has them: the song's
// title and artist as the station announced them, and the channel as the
// album.
struct SongTags {
    QString strTitle;
    QString strArtist;
    QString strAlbum;
};

// Writes the tags into the audio file at strPath; false with *pError set
// when the file cannot be read as audio or cannot be written.
bool WriteSongTags(const QString& strPath, const SongTags& tags, QString* pError);
