#pragma once

#include "core/remind/Reminder.h"
#include "gui/remind/DesktopNotifications.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class frmRemind;

// Brings a notice to the person by the best way the desktop has: its notification server, with the buttons
// 「5分後に再通知」 and 「開く」 where it shows buttons; without a server, the tray icon's message; without a tray
// either, a small window of the program's own. What the person chooses comes back as snoozeRequested / openRequested.
class NotificationService : public QObject {
    Q_OBJECT
public:
    struct Notice {
        QString summary;
        QString body;
        QDate date;                       // the day 開く opens
        std::optional<Reminder> reminder; // what 5分後に再通知 brings again; none for today's notice
    };

    NotificationService(QDBusConnection bus, QString icon, QObject *parent = nullptr);
    ~NotificationService() override;

    // The tray's message; false when there is no tray to show it.
    void setTrayMessage(std::function<bool(const QString &summary, const QString &body)> show);
    void show(const Notice &notice);
    // A click on the tray's last message.
    void trayMessageClicked();

    // The program's own notice windows now open, for the tests.
    QList<frmRemind *> windows() const;

signals:
    void openRequested(const QDate &date);
    void snoozeRequested(const Reminder &reminder);

private:
    void fallBack(const Notice &notice);

    DesktopNotifications m_desktop;
    std::function<bool(const QString &, const QString &)> m_tray;
    QHash<quint64, Notice> m_sending; // by token, until the server answers
    QHash<uint, Notice> m_shown;      // by the server's id
    std::optional<QDate> m_trayDate;  // of the tray's last message
    QList<QPointer<frmRemind>> m_windows;
};
