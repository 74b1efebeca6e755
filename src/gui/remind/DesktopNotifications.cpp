#include "gui/remind/DesktopNotifications.h"

#include "core/system/Prompts.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString icon, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_icon(std::move(icon)) {
    if (!m_bus.isConnected()) return;
    // From whoever owns the name now or later: a server started on demand has another unique name.
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

quint64 DesktopNotifications::send(const Notice &notice) {
    const quint64 token = m_nextToken++;
    if (!m_bus.isConnected()) {
        // Said after the caller has the token.
        QMetaObject::invokeMethod(this, [this, token] { emit failed(token); }, Qt::QueuedConnection);
        return token;
    }
    if (m_capabilities) {
        notify(token, notice);
    } else {
        m_waiting.push_back({token, notice});
        askCapabilities();
    }
    return token;
}

void DesktopNotifications::askCapabilities() {
    if (m_asking) return;
    m_asking = true;
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QStringList> reply = *w;
        std::vector<std::pair<quint64, Notice>> waiting;
        waiting.swap(m_waiting);
        if (reply.isError()) {
            for (const auto &[token, notice] : waiting) emit failed(token);
            return;
        }
        m_capabilities = reply.value();
        for (const auto &[token, notice] : waiting) notify(token, notice);
    });
}

void DesktopNotifications::notify(quint64 token, const Notice &notice) {
    QString body = notice.body;
    if (m_capabilities->contains(QStringLiteral("body-markup")))
        body = body.toHtmlEscaped().replace(u'\n', QLatin1String("<br/>")).replace(QLatin1String("&quot;"), QLatin1String("\""));
    const QStringList actions = hasActions() ? notice.actions : QStringList();
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tsukiban"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << ApplicationTitle() << uint(0) << m_icon << notice.summary << body << actions << hints << notice.timeout;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, token](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            // The server went away; the next notice asks whoever answers then.
            m_capabilities.reset();
            emit failed(token);
        } else {
            emit sent(token, reply.value());
        }
    });
}

void DesktopNotifications::close(uint id) {
    if (!m_bus.isConnected()) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    call << id;
    m_bus.asyncCall(call);
}

void DesktopNotifications::onActionInvoked(uint id, const QString &key) {
    emit actionInvoked(id, key);
}

void DesktopNotifications::onClosed(uint id, uint) {
    emit closed(id);
}
