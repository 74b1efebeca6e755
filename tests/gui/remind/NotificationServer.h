#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// A notification server of the test's own on the session bus (a private one: the test runs under
// dbus-run-session): it records every Notify and sends ActionInvoked and NotificationClosed as a desktop's server does.
// It answers on a connection of its own, so the program's calls really go over the bus.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString app;
        uint replaces = 0;
        QString icon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
        uint id = 0;
    };

    explicit NotificationServer(QStringList capabilities);
    ~NotificationServer() override;
    bool registered() const { return m_registered; }

    std::vector<Call> calls;
    std::vector<uint> closed; // by CloseNotification
    void invoke(uint id, const QString &key);
    void close(uint id);

public slots:
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout);
    QStringList GetCapabilities();
    void CloseNotification(uint id);
    QString GetServerInformation(QString &vendor, QString &version, QString &protocolVersion);

signals:
    void ActionInvoked(uint id, const QString &key);
    void NotificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    QStringList m_capabilities;
    uint m_nextId = 1;
    bool m_registered = false;
};
