#pragma once

#include <QString>
#include <QtGlobal>
#include <chrono>
#include <functional>
#include <memory>

// What a download may cost before it is given up: a server that cannot be
// reached, a transfer that has stopped moving, or an answer too big for
// anything the program fetches.
struct UrlDownloadOptions {
    std::chrono::milliseconds connectTimeout{15000};
    // A transfer that brings no byte for this long has stalled.
    std::chrono::seconds stallTimeout{30};
    // The longest a whole transfer may take, however steadily bytes trickle in.
    std::chrono::milliseconds overallTimeout{60000};
    // Asked about once a second and whenever data moves; true gives the
    // transfer up at once (the program is asked to end).
    std::function<bool()> cancelRequested;
    qint64 nMaxBytes = qint64(64) * 1024 * 1024;
    // Certificate authorities (PEM) to trust instead of the system's bundle,
    // for a server with a private certificate. Empty: the system's.
    QString strCertificateAuthorityFile;
};

enum class UrlDownloadStatus {
    Succeeded,
    InvalidAddress,  // not an http or https address
    ConnectFailed,  // the host is unknown or refused the connection
    ConnectTimedOut,
    Stalled,  // no byte arrived for the stall timeout
    TookTooLong,  // the transfer ran past the overall timeout
    Cancelled,  // cancelRequested said so
    HttpError,  // the server answered with a status of 400 or more
    TooLarge,
    FileError,  // the target file could not be created or written
    TransferFailed,  // the connection broke or the answer was malformed
};

struct UrlDownloadResult {
    UrlDownloadStatus status = UrlDownloadStatus::TransferFailed;
    // Why it failed, in words, for diagnostics.
    QString strDetail;
    // The last HTTP status the server answered with; 0 when none came.
    long nHttpStatus = 0;

    bool Succeeded() const { return status == UrlDownloadStatus::Succeeded; }
};

// Fetches a URL into a file, always from the server (nothing is cached),
// following redirects. The call blocks until the transfer has ended.
class IUrlDownloader
{
public:
    IUrlDownloader() = default;
    IUrlDownloader(const IUrlDownloader&) = delete;
    IUrlDownloader& operator=(const IUrlDownloader&) = delete;
    virtual ~IUrlDownloader() = default;

    // Whether the service can fetch anything at all.
    virtual bool IsAvailable() const = 0;

    // Fetches strUrl into strFilePath, which must not exist yet: the file is
    // created for this transfer alone, so nothing planted at that path is
    // ever written through, and locked (flock) while it is written. On
    // success the file holds the bytes exactly as the server sent them; on
    // failure no file is left there.
    [[nodiscard]] virtual UrlDownloadResult Download(const QString& strUrl, const QString& strFilePath) = 0;
};

// The backend of this platform.
std::unique_ptr<IUrlDownloader> CreateUrlDownloader(const UrlDownloadOptions& options = {});
