#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per user and program folder: a lock file in the user's runtime folder, named after the program
// folder. The operating system releases the lock when the process ends, also by a crash, so a stale lock file is
// simply taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process holds the lock.
    bool tryAcquire();
    const QString &lockPath() const { return m_lockPath; }

private:
    QString m_lockPath;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
};
