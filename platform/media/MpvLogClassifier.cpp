#include "platform/media/MpvLogClassifier.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
using Failure = IMediaEngine::Failure;

// Higher is more specific: an HTTP status says more than a failed read.
int Rank(Failure failure)
{
    switch (failure) {
    case Failure::None:
        return 0;
    case Failure::Other:
        return 1;
    case Failure::TimedOut:
    case Failure::CannotConnect:
        return 2;
    case Failure::UnsupportedFormat:
    case Failure::NotFound:
    case Failure::AccessDenied:
    case Failure::ServerError:
    case Failure::AddressRefused:
        return 3;
    // Says more than the unsupported format that an empty answer also
    // ends in.
    case Failure::EmptyStream:
        return 4;
    }
    return 0;
}

Failure FromHttpStatus(int nStatus)
{
    if (nStatus == 404 || nStatus == 410)
        return Failure::NotFound;
    if (nStatus == 401 || nStatus == 403)
        return Failure::AccessDenied;
    if (nStatus >= 500)
        return Failure::ServerError;
    return Failure::Other;
}

bool IsFollowedRedirect(const QString& strLocation)
{
    const QString scheme = QUrl(strLocation).scheme().toLower();
    return scheme.isEmpty() || scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool ContainsAny(const QString& strText, std::initializer_list<const char*> phrases)
{
    for (const char* phrase : phrases) {
        if (strText.contains(QLatin1String(phrase), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
}

void CMpvLogClassifier::Reset()
{
    *this = CMpvLogClassifier();
}

void CMpvLogClassifier::Feed(const QString& strText)
{
    static const QRegularExpression httpError(QStringLiteral("HTTP error (\\d{3})"));
    static const QRegularExpression redirect(QStringLiteral("header='Location: *([^']*)'"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = httpError.match(strText);
    if (match.hasMatch()) {
        m_bAnswered = true;
        Note(FromHttpStatus(match.captured(1).toInt()));
        return;
    }
    // The HTTP client follows a redirect only to another http or https
    // address, and fails the opening without a word otherwise.
    const QRegularExpressionMatch redirectMatch = redirect.match(strText);
    if (redirectMatch.hasMatch()) {
        m_bAnswered = true;
        if (!IsFollowedRedirect(redirectMatch.captured(1).trimmed()))
            Note(Failure::AddressRefused);
        return;
    }
    // Headers, and then the connection closed before the first byte.
    if (ContainsAny(strText, {"Stream ends prematurely at 0,"})) {
        m_bAnswered = true;
        Note(Failure::EmptyStream);
        return;
    }
    if (ContainsAny(strText,
                    {"Connection refused", "Failed to resolve hostname", "Network is unreachable", "No route to host",
                     "certificate", "handshake"})) {
        Note(Failure::CannotConnect);
        return;
    }
    if (ContainsAny(strText, {"timed out"})) {
        Note(Failure::TimedOut);
        return;
    }
    if (ContainsAny(strText, {"Successfully connected"})) {
        m_bConnected = true;
        return;
    }
    if (ContainsAny(strText, {"Mime-type:", "Stream opened successfully"}))
        m_bAnswered = true;
}

void CMpvLogClassifier::NoteUnsupportedFormat()
{
    m_bAnswered = true;
    Note(Failure::UnsupportedFormat);
}

IMediaEngine::Failure CMpvLogClassifier::Result() const
{
    if (m_failure != Failure::None)
        return m_failure;
    // Connected, and then nothing came back before the network timeout.
    if (m_bConnected && !m_bAnswered)
        return Failure::TimedOut;
    return Failure::Other;
}

void CMpvLogClassifier::Note(Failure failure)
{
    if (Rank(failure) > Rank(m_failure))
        m_failure = failure;
}
