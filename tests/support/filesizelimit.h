#pragma once

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

// A disk full after `bytes`: while it lives no file of this process grows
// beyond that; a write across the limit writes what fits and then fails
// (SIGXFSZ ignored, so the write fails instead of ending the test).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    void (*previous_)(int);
    rlimit saved_{};
};

} // namespace testsupport
