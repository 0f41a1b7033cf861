#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stationserver {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as for any new file
constexpr int kNameAttempts = 100;

[[noreturn]] void Fail(const std::string& path, int error)
{
    throw FileWriteError(path + ": cannot be written: " + std::strerror(error));
}

// Creates a new file beside path under a name of its own; the file
// descriptor, with its name in temporaryPath.
int CreateTemporaryBeside(const std::string& path, std::string& temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporaryPath = path + ".partial-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// What stands at a path instead of a regular file, as a message names it.
const char* KindOfFile(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFLNK:
        return "a symbolic link";
    case S_IFIFO:
        return "a FIFO";
    case S_IFCHR:
    case S_IFBLK:
        return "a device";
    case S_IFSOCK:
        return "a socket";
    case S_IFDIR:
        return "a folder";
    default:
        return "not a regular file";
    }
}

bool WriteAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}

void CheckReplaceable(const std::string& path)
{
    // lstat, not stat: a link is refused as itself, whatever it points to.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno == ENOENT)
            return;
        Fail(path, errno);
    }
    if (!S_ISREG(existing.st_mode)) {
        throw FileWriteError(path + ": is " + KindOfFile(existing.st_mode) +
                             ", not a regular file; only a regular file or a new path is written, and " +
                             "this is left as it is");
    }
}

void WriteFileAtomically(const std::string& path, std::string_view contents)
{
    CheckReplaceable(path);
    std::string temporaryPath;
    const int fd = CreateTemporaryBeside(path, temporaryPath);
    if (fd < 0)
        Fail(path, errno);

    struct stat existing {};
    bool written = WriteAll(fd, contents);
    if (written && ::lstat(path.c_str(), &existing) == 0)
        written = ::fchmod(fd, existing.st_mode & 07777) == 0;
    written = written && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    // Again just before the rename, which would replace whatever stands
    // there by now.
    if (written) {
        try {
            CheckReplaceable(path);
        } catch (const FileWriteError&) {
            ::unlink(temporaryPath.c_str());
            throw;
        }
    }
    if (written && std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporaryPath.c_str());
        Fail(path, error);
    }
}

}
