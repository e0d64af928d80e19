#pragma once

#include <sys/resource.h>

#include <csignal>

// Lowers this process's file-size limit (the soft one only, so it can be raised again) with SIGXFSZ
// ignored: a write past `bytes` then fails with EFBIG instead of ending the process. Each test runs
// in its own process, and the previous limit and signal action come back when the object goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedAction = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedAction);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_savedAction)(int) = SIG_DFL;
    bool m_active = false;
};
