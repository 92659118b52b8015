#pragma once

#include <QtGlobal>

#include <csignal>
#include <sys/resource.h>

// While alive, no file of this process may grow past `limit` bytes: the kernel takes what fits
// and refuses the rest (even to root), a real short write.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = m_saved;
        tiny.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};
