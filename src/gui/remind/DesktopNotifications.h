#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

#include <optional>
#include <vector>

class QDBusPendingCallWatcher;

// The desktop's notification server (org.freedesktop.Notifications) as a client sees it. Every call is asynchronous,
// so a slow or hung server never stops the calendar. What the server can do is asked once, before the first notice:
// without "actions" a notice goes without buttons, and with "body-markup" its text is escaped.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    struct Notice {
        QString summary;
        QString body;
        QStringList actions; // key, caption, key, caption ...
        int timeout = -1;    // ms; -1 as the server likes, 0 until closed
    };

    explicit DesktopNotifications(QDBusConnection bus, QString icon, QObject *parent = nullptr);

    // Sends the notice; sent() or failed() answers with the same token.
    quint64 send(const Notice &notice);
    // Takes a shown notice off the screen.
    void close(uint id);
    // False until the server has said; then whether it shows buttons.
    bool hasActions() const { return m_capabilities && m_capabilities->contains(QStringLiteral("actions")); }

signals:
    void sent(quint64 token, uint id);
    void failed(quint64 token); // no server, or it refused
    void actionInvoked(uint id, const QString &key);
    void closed(uint id);

private slots:
    void onActionInvoked(uint id, const QString &key);
    void onClosed(uint id, uint reason);

private:
    void askCapabilities();
    void notify(quint64 token, const Notice &notice);

    QDBusConnection m_bus;
    QString m_icon;
    std::optional<QStringList> m_capabilities;
    bool m_asking = false;
    std::vector<std::pair<quint64, Notice>> m_waiting; // until the capabilities are known
    quint64 m_nextToken = 1;
};
