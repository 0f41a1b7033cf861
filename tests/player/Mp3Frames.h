#pragma once

#include <QByteArray>
#include <QList>

// The demo MP3's frames: MPEG-1 layer III, 44.1 kHz.
inline constexpr double kMp3SecondsPerFrame = 1152.0 / 44100.0;

// The MPEG audio frames of an MP3 file, without its ID3v2 tag and without
// the information frame ("Xing" or "Info") that a writer may put first.
QList<QByteArray> Mp3Frames(const QByteArray& file);
