#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, files cannot grow past a few bytes: writes fail as on a full disk, also for root (CI runs as root,
// where permissions stop nothing).
class DiskFull {
public:
    explicit DiskFull(rlim_t bytes = 4) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~DiskFull() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    DiskFull(const DiskFull &) = delete;
    DiskFull &operator=(const DiskFull &) = delete;
    bool active() const { return m_active; }

private:
    struct rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
    bool m_active = false;
};
