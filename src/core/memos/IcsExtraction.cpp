#include "core/memos/IcsExtraction.h"

#include <QThreadPool>

#include <mutex>

// What the worker shares with its owner: the owner, until it goes away.
struct IcsExtraction::Link {
    std::mutex mutex;
    IcsExtraction *owner = nullptr;

    // Runs call on the owner's thread, if the owner is still there when it is posted; an owner destroyed later
    // takes its posted calls with it.
    template <typename Call> void post(Call call) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (owner)
            QMetaObject::invokeMethod(
                owner, [owner = owner, call = std::move(call)] { call(owner); }, Qt::QueuedConnection);
    }
};

IcsExtraction::IcsExtraction(QObject *parent) : QObject(parent) {}

IcsExtraction::~IcsExtraction() {
    if (!m_link) return;
    const std::lock_guard<std::mutex> lock(m_link->mutex);
    m_link->owner = nullptr;
}

void IcsExtraction::start(const QStringList &files, const QDate &from, const QDate &to, const QTimeZone &local) {
    if (m_running) return;
    m_running = true;
    if (m_link) {
        const std::lock_guard<std::mutex> lock(m_link->mutex);
        m_link->owner = nullptr;
    }
    m_link = std::make_shared<Link>();
    m_link->owner = this;
    QThreadPool::globalInstance()->start([link = m_link, files, from, to, local] {
        int shown = -1;
        IcsAppointments read =
            ReadIcsFiles(files, from, to, local, [&](qsizetype file, qsizetype done, qsizetype total) {
                const int value = int(file) * kStepsPerFile + int(total > 0 ? done * kStepsPerFile / total : 0);
                if (value == shown) return;
                shown = value;
                link->post([value](IcsExtraction *owner) { emit owner->progressed(value); });
            });
        link->post([read = std::move(read)](IcsExtraction *owner) {
            owner->m_running = false;
            emit owner->finished(read);
        });
    });
}
