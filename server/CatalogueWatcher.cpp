#include "CatalogueWatcher.h"

#include <sys/stat.h>

namespace stationserver {

bool CatalogueWatcher::Look::operator==(const Look& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
        modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

CatalogueWatcher::CatalogueWatcher(std::string path)
    : m_path(std::move(path))
{
    Remember();
}

void CatalogueWatcher::Remember()
{
    m_read = LookNow();
    m_previous = m_read;
}

bool CatalogueWatcher::HasSettledChange()
{
    const Look now = LookNow();
    const bool settled = now == m_previous;
    m_previous = now;
    return settled && !(now == m_read);
}

CatalogueWatcher::Look CatalogueWatcher::LookNow() const
{
    struct stat status {};
    if (::stat(m_path.c_str(), &status) != 0)
        return {};
    return {true, status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

}
