#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per data folder (the folder of the settings and data files): two installed or portable copies
// that fall back to the same user data folder would otherwise both write its files. The lock is taken on the data
// folder itself, so every copy that uses the folder meets it, whatever its environment says (a copy started from
// cron, su or a session without logind has another runtime folder or none). The operating system releases the lock
// when the process ends, also by a crash; nothing is written for it.
class SingleInstance {
public:
    explicit SingleInstance(const QString &dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process, or another SingleInstance of this one, holds the lock.
    bool tryAcquire();

private:
    QString m_dataFolder;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
};
