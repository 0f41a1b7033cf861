#pragma once

#include "platform/media/MediaEngine.h"

#include <QString>

// Tells why an address failed to open from the media library's log lines,
// which are the only place that says whether the server answered 404, refused
// the connection, redirected to an address that is not followed, or never
// answered at all. Fed the lines of one opening, down to the trace level
// (only there does a redirect show); the most specific cause seen wins.
class CMpvLogClassifier
{
public:
    void Reset();
    void Feed(const QString& strText);
    // The media library read the answer and found no format it can play.
    void NoteUnsupportedFormat();
    IMediaEngine::Failure Result() const;

private:
    void Note(IMediaEngine::Failure failure);

    IMediaEngine::Failure m_failure = IMediaEngine::Failure::None;
    bool m_bConnected = false;
    bool m_bAnswered = false;
};
