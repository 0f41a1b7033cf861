#pragma once

#include <sys/resource.h>

// While it lives, no file the test process writes may grow beyond nBytes:
// a write past it fails with EFBIG, as one into a full disk fails, instead
// of ending the process with SIGXFSZ. Files already larger stay as they are
// and take no more.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t nBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool IsSet() const { return m_bSet; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_bSet = false;
};
