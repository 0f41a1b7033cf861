#pragma once

#include "platform/download/UrlDownloader.h"

// The URL download service over libcurl (http and https, OpenSSL).
class CCurlUrlDownloader : public IUrlDownloader
{
public:
    explicit CCurlUrlDownloader(const UrlDownloadOptions& options);

    bool IsAvailable() const override;
    UrlDownloadResult Download(const QString& strUrl, const QString& strFilePath) override;

private:
    UrlDownloadOptions m_options;
};
