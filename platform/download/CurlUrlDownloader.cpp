#include "platform/download/CurlUrlDownloader.h"

#include "BuildConfig.h"

#include <QFile>
#include <QUrl>
#include <curl/curl.h>
#include <sys/file.h>

namespace {
const char kAllowedProtocols[] = "http,https";
const long kMaxRedirects = 10;
// Any byte at all within the stall timeout keeps a transfer alive.
const long kStallBytesPerSecond = 1;

// A station list that is seconds old is already stale: ask every cache on
// the way, and the server, for a fresh answer.
const char* const kNoCacheHeaders[] = {"Cache-Control: no-cache", "Pragma: no-cache"};

bool LibraryReady()
{
    static const bool bReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return bReady;
}

struct EasyDeleter {
    void operator()(CURL* pCurl) const { curl_easy_cleanup(pCurl); }
};
struct ListDeleter {
    void operator()(curl_slist* pList) const { curl_slist_free_all(pList); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// Where the body goes, and why the writing stopped if it did.
struct BodySink {
    QFile& file;
    qint64 nMaxBytes;
    qint64 nReceived = 0;
    bool bTooLarge = false;
    bool bWriteFailed = false;
};

// A chunked answer announces no length, so the size limit is kept here as
// well as by libcurl's own check of Content-Length.
size_t WriteBody(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    auto& sink = *static_cast<BodySink*>(pUser);
    const auto nBytes = static_cast<qint64>(nSize * nCount);
    if (nBytes > sink.nMaxBytes - sink.nReceived) {
        sink.bTooLarge = true;
        return 0;
    }
    if (sink.file.write(pData, nBytes) != nBytes) {
        sink.bWriteFailed = true;
        return 0;
    }
    sink.nReceived += nBytes;
    return static_cast<size_t>(nBytes);
}

// libcurl calls this about once a second even while nothing arrives, so a
// request to give up is noticed soon whatever the server does.
int OnProgress(void* pUser, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto& cancelRequested = *static_cast<const std::function<bool()>*>(pUser);
    return cancelRequested && cancelRequested() ? 1 : 0;
}

HeaderList NoCacheHeaders()
{
    curl_slist* pList = nullptr;
    for (const char* pHeader : kNoCacheHeaders) {
        curl_slist* pLonger = curl_slist_append(pList, pHeader);
        if (pLonger == nullptr)
            break;
        pList = pLonger;
    }
    return HeaderList(pList);
}

UrlDownloadResult Failure(UrlDownloadStatus status, const QString& strDetail, long nHttpStatus = 0)
{
    return UrlDownloadResult{status, strDetail, nHttpStatus};
}

UrlDownloadResult Classify(CURL* pCurl, CURLcode code, const BodySink& sink, const char* pErrorText,
                           const UrlDownloadOptions& options)
{
    long nHttpStatus = 0;
    curl_easy_getinfo(pCurl, CURLINFO_RESPONSE_CODE, &nHttpStatus);
    const QString strDetail =
        pErrorText[0] != '\0' ? QString::fromUtf8(pErrorText) : QString::fromUtf8(curl_easy_strerror(code));
    switch (code) {
    case CURLE_OK:
        return UrlDownloadResult{UrlDownloadStatus::Succeeded, QString(), nHttpStatus};
    case CURLE_HTTP_RETURNED_ERROR:
        return Failure(UrlDownloadStatus::HttpError, QStringLiteral("the server answered %1").arg(nHttpStatus),
                       nHttpStatus);
    case CURLE_FILESIZE_EXCEEDED:
        return Failure(UrlDownloadStatus::TooLarge, strDetail, nHttpStatus);
    case CURLE_WRITE_ERROR:
        if (sink.bTooLarge)
            return Failure(UrlDownloadStatus::TooLarge,
                           QStringLiteral("the answer is larger than %1 bytes").arg(sink.nMaxBytes), nHttpStatus);
        return Failure(UrlDownloadStatus::FileError, sink.file.errorString(), nHttpStatus);
    case CURLE_OPERATION_TIMEDOUT: {
        // Three limits are set: the whole transfer's, the connection's, and
        // the stall's once the answer has begun. libcurl names the stall in
        // its text; the clock alone cannot tell the overall deadline from a
        // connection limit that ran out a moment before it.
        if (strDetail.startsWith(QLatin1String("Operation too slow")))
            return Failure(UrlDownloadStatus::Stalled, strDetail, nHttpStatus);
        curl_off_t nTotal = 0;
        curl_off_t nPretransfer = 0;
        curl_easy_getinfo(pCurl, CURLINFO_TOTAL_TIME_T, &nTotal);
        curl_easy_getinfo(pCurl, CURLINFO_PRETRANSFER_TIME_T, &nPretransfer);
        if (nPretransfer == 0 && std::chrono::microseconds(nTotal) < options.overallTimeout)
            return Failure(UrlDownloadStatus::ConnectTimedOut, strDetail, nHttpStatus);
        return Failure(UrlDownloadStatus::TookTooLong,
                       QStringLiteral("the transfer took longer than %1 ms").arg(options.overallTimeout.count()),
                       nHttpStatus);
    }
    case CURLE_ABORTED_BY_CALLBACK:
        return Failure(UrlDownloadStatus::Cancelled, QStringLiteral("the transfer was given up"), nHttpStatus);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return Failure(UrlDownloadStatus::ConnectFailed, strDetail, nHttpStatus);
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return Failure(UrlDownloadStatus::InvalidAddress, strDetail, nHttpStatus);
    default:
        return Failure(UrlDownloadStatus::TransferFailed, strDetail, nHttpStatus);
    }
}
}

CCurlUrlDownloader::CCurlUrlDownloader(const UrlDownloadOptions& options)
    : m_options(options)
{
}

bool CCurlUrlDownloader::IsAvailable() const
{
    return LibraryReady() && EasyHandle(curl_easy_init()) != nullptr;
}

UrlDownloadResult CCurlUrlDownloader::Download(const QString& strUrl, const QString& strFilePath)
{
    const QUrl url(strUrl, QUrl::StrictMode);
    const QString strScheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (strScheme != QLatin1String("http") && strScheme != QLatin1String("https")))
        return Failure(UrlDownloadStatus::InvalidAddress,
                       QStringLiteral("not an http or https address: \"%1\"").arg(strUrl));
    if (!LibraryReady())
        return Failure(UrlDownloadStatus::TransferFailed, QStringLiteral("libcurl could not be initialised"));
    EasyHandle pCurl(curl_easy_init());
    HeaderList pHeaders = NoCacheHeaders();
    if (!pCurl || !pHeaders)
        return Failure(UrlDownloadStatus::TransferFailed, QStringLiteral("libcurl is out of memory"));

    if (strFilePath.isEmpty())
        return Failure(UrlDownloadStatus::FileError, QStringLiteral("no file to download into"));
    // NewOnly creates the file exclusively: a file or link that someone
    // placed at the path in the meantime makes the download fail instead of
    // being written through.
    QFile file(strFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Failure(UrlDownloadStatus::FileError,
                       QStringLiteral("cannot create \"%1\": %2").arg(strFilePath, file.errorString()));
    // The lock tells a sweep of abandoned files that this one is in use.
    flock(file.handle(), LOCK_EX | LOCK_NB);

    BodySink sink{file, m_options.nMaxBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray encodedUrl = url.toEncoded();
    const QByteArray caFile = QFile::encodeName(m_options.strCertificateAuthorityFile);
    const QByteArray userAgent = QByteArrayLiteral("KestrelRadio/") + BuildConfig::kVersion;
    CURL* pEasy = pCurl.get();
    curl_easy_setopt(pEasy, CURLOPT_URL, encodedUrl.constData());
    curl_easy_setopt(pEasy, CURLOPT_PROTOCOLS_STR, kAllowedProtocols);
    curl_easy_setopt(pEasy, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols);
    curl_easy_setopt(pEasy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(pEasy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(pEasy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(pEasy, CURLOPT_HTTPHEADER, pHeaders.get());
    curl_easy_setopt(pEasy, CURLOPT_USERAGENT, userAgent.constData());
    curl_easy_setopt(pEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(pEasy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_options.connectTimeout.count()));
    curl_easy_setopt(pEasy, CURLOPT_LOW_SPEED_LIMIT, kStallBytesPerSecond);
    curl_easy_setopt(pEasy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(m_options.stallTimeout.count()));
    curl_easy_setopt(pEasy, CURLOPT_TIMEOUT_MS, static_cast<long>(m_options.overallTimeout.count()));
    curl_easy_setopt(pEasy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(pEasy, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(pEasy, CURLOPT_XFERINFODATA, &m_options.cancelRequested);
    curl_easy_setopt(pEasy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_options.nMaxBytes));
    curl_easy_setopt(pEasy, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(pEasy, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(pEasy, CURLOPT_ERRORBUFFER, errorText);
    if (!caFile.isEmpty())
        curl_easy_setopt(pEasy, CURLOPT_CAINFO, caFile.constData());

    UrlDownloadResult result = Classify(pEasy, curl_easy_perform(pEasy), sink, errorText, m_options);
    if (result.Succeeded() && !file.flush())
        result = Failure(UrlDownloadStatus::FileError, file.errorString(), result.nHttpStatus);
    file.close();
    if (!result.Succeeded())
        file.remove();
    return result;
}
