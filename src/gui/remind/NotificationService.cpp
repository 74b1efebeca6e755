#include "gui/remind/NotificationService.h"

#include "gui/remind/frmRemind.h"

#include <utility>

namespace {

const QString kSnooze = QStringLiteral("snooze");
const QString kOpen = QStringLiteral("open");

} // namespace

NotificationService::NotificationService(QDBusConnection bus, QString icon, QObject *parent)
    : QObject(parent), m_desktop(std::move(bus), std::move(icon)) {
    connect(&m_desktop, &DesktopNotifications::sent, this, [this](quint64 token, uint id) {
        if (m_sending.contains(token)) m_shown.insert(id, m_sending.take(token));
    });
    connect(&m_desktop, &DesktopNotifications::failed, this, [this](quint64 token) {
        if (m_sending.contains(token)) fallBack(m_sending.take(token));
    });
    connect(&m_desktop, &DesktopNotifications::actionInvoked, this, [this](uint id, const QString &key) {
        const auto found = m_shown.constFind(id);
        if (found == m_shown.constEnd()) return; // another program's
        const Notice notice = *found;
        // Dealt with: off the screen, also where the server keeps a notice after its button.
        m_desktop.close(id);
        if (key == kSnooze && notice.reminder)
            emit snoozeRequested(*notice.reminder);
        else if (key == kOpen || key == QLatin1String("default"))
            emit openRequested(notice.date);
    });
    connect(&m_desktop, &DesktopNotifications::closed, this, [this](uint id) { m_shown.remove(id); });
}

NotificationService::~NotificationService() {
    for (const QPointer<frmRemind> &w : m_windows) delete w.data();
}

void NotificationService::setTrayMessage(std::function<bool(const QString &, const QString &)> show) {
    m_tray = std::move(show);
}

void NotificationService::show(const Notice &notice) {
    DesktopNotifications::Notice n{notice.summary, notice.body, {}, notice.reminder ? 0 : -1};
    // A click on the notice itself opens the day, as 開く does.
    if (notice.reminder) n.actions << kSnooze << QString::fromUtf8("5分後に再通知");
    n.actions << kOpen << QString::fromUtf8("開く") << QStringLiteral("default") << QString();
    m_sending.insert(m_desktop.send(n), notice);
}

void NotificationService::fallBack(const Notice &notice) {
    if (m_tray && m_tray(notice.summary, notice.body)) {
        m_trayDate = notice.date;
        return;
    }
    m_windows.removeIf([](const QPointer<frmRemind> &w) { return w.isNull(); });
    auto *window = new frmRemind(notice.summary, notice.body, notice.reminder.has_value());
    connect(window, &frmRemind::openChosen, this, [this, date = notice.date] { emit openRequested(date); });
    if (notice.reminder)
        connect(window, &frmRemind::snoozeChosen, this,
                [this, reminder = *notice.reminder] { emit snoozeRequested(reminder); });
    window->placeOnScreen(int(m_windows.size()));
    m_windows << window;
    window->show();
}

void NotificationService::trayMessageClicked() {
    if (m_trayDate) emit openRequested(*m_trayDate);
}

QList<frmRemind *> NotificationService::windows() const {
    QList<frmRemind *> open;
    for (const QPointer<frmRemind> &w : m_windows)
        if (w) open << w.data();
    return open;
}
