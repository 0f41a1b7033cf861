#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>

namespace stationserver {

// Notices a change of the catalogue file by looking at it now and then:
// its identity, size and modification time. A change counts once the file
// has stood still between two looks, so that a file still being written is
// not read half-way; a file replaced by renaming counts at once on the look
// after.
class CatalogueWatcher
{
public:
    explicit CatalogueWatcher(std::string path);

    // Takes the file as it is now as the one that was read.
    void Remember();
    // True, once, when the file has changed since it was last read and has
    // not changed since the previous look.
    bool HasSettledChange();

private:
    struct Look {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        bool operator==(const Look& other) const;
    };

    Look LookNow() const;

    std::string m_path;
    Look m_read;
    Look m_previous;
};

}
