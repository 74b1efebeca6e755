#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per data folder (the folder of the settings and data files): two installed or portable copies
// that fall back to the same user data folder would otherwise both write its files. A lock file in the user's runtime
// folder, named after the data folder; the operating system releases the lock when the process ends, also by a crash,
// so a stale lock file is simply taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString &dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process holds the lock.
    bool tryAcquire();
    // Empty when there is no safe runtime folder; the data folder itself is locked then.
    const QString &lockPath() const { return m_lockPath; }

private:
    QString m_dataFolder;
    QString m_lockPath;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
};
