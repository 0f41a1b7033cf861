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

void WriteFileAtomically(const std::string& path, std::string_view contents)
{
    std::string temporaryPath;
    const int fd = CreateTemporaryBeside(path, temporaryPath);
    if (fd < 0)
        Fail(path, errno);

    struct stat existing {};
    bool written = WriteAll(fd, contents);
    if (written && ::stat(path.c_str(), &existing) == 0)
        written = ::fchmod(fd, existing.st_mode & 07777) == 0;
    written = written && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
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
