#include "core/sync/SyncEngine.h"

#include "core/memos/MemoBook.h"

#include <QNetworkAccessManager>
#include <QTimer>

class SyncStatus {};

class SyncEngine::Run {};

SyncEngine::SyncEngine(MemoBook &memos, QString statusPath, QNetworkAccessManager &network, QObject *parent)
    : QObject(parent), m_memos(memos), m_statusPath(std::move(statusPath)), m_network(network) {}

SyncEngine::~SyncEngine() = default;

void SyncEngine::start(const SyncAccount &) {
    QTimer::singleShot(0, this, [this] {
        SyncReport report;
        report.error = QStringLiteral("同期はまだ使えません");
        report.finished = QDateTime::currentDateTimeUtc();
        emit finished(report);
    });
}

bool SyncEngine::isRunning() const {
    return m_run != nullptr;
}

QList<ForeignEvent> SyncEngine::foreignEvents(const QDate &) const {
    return {};
}

void SyncEngine::setRequestLimitForTest(int n) {
    m_requestLimit = n;
}

void SyncEngine::runFinished(const SyncReport &report, bool foreignChanged) {
    if (foreignChanged) emit foreignEventsChanged();
    emit finished(report);
}
