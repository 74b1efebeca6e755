#include "core/sync/CalDavDiscovery.h"

#include <QNetworkAccessManager>
#include <QTimer>

CalDavDiscovery::CalDavDiscovery(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent), m_network(network) {}

CalDavDiscovery::~CalDavDiscovery() = default;

void CalDavDiscovery::discover(const QUrl &, const QString &, const QString &, bool) {
    QTimer::singleShot(0, this, [this] { emit failed(QStringLiteral("未実装です"), false, false); });
}

void CalDavDiscovery::makeCalendar(const QUrl &, const QString &, const QString &, const QString &, bool) {
    QTimer::singleShot(0, this, [this] { emit failed(QStringLiteral("未実装です"), false, false); });
}
