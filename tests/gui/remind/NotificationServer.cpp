#include "NotificationServer.h"

#include <QUuid>

NotificationServer::NotificationServer(QStringList capabilities)
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                          QStringLiteral("server-") + QUuid::createUuid().toString())),
      m_capabilities(std::move(capabilities)) {
    m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
                   m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

NotificationServer::~NotificationServer() {
    m_bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    m_bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(m_bus.name());
}

uint NotificationServer::Notify(const QString &app, uint replaces, const QString &icon, const QString &summary,
                                const QString &body, const QStringList &actions, const QVariantMap &hints,
                                int timeout) {
    calls.push_back({app, replaces, icon, summary, body, actions, hints, timeout, m_nextId});
    return m_nextId++;
}

QStringList NotificationServer::GetCapabilities() {
    return m_capabilities;
}

void NotificationServer::CloseNotification(uint id) {
    closed.push_back(id);
    emit NotificationClosed(id, 3);
}

QString NotificationServer::GetServerInformation(QString &vendor, QString &version, QString &protocolVersion) {
    vendor = QStringLiteral("tests");
    version = QStringLiteral("1");
    protocolVersion = QStringLiteral("1.2");
    return QStringLiteral("recording server");
}

void NotificationServer::invoke(uint id, const QString &key) {
    emit ActionInvoked(id, key);
}

void NotificationServer::close(uint id) {
    emit NotificationClosed(id, 2);
}
