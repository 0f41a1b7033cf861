#include "platform/download/CurlUrlDownloader.h"
#include "platform/download/UrlDownloader.h"

std::unique_ptr<CUrlDownloader> CreateUrlDownloader(const UrlDownloadOptions& options)
{
    return std::make_unique<CCurlUrlDownloader>(options);
}
