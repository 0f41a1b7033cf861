#include "platform/download/CurlUrlDownloader.h"
#include "platform/download/UrlDownloader.h"

std::unique_ptr<IUrlDownloader> CreateUrlDownloader(const UrlDownloadOptions& options)
{
    return std::make_unique<CCurlUrlDownloader>(options);
}
