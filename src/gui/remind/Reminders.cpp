#include "gui/remind/Reminders.h"

#include "core/program/AppContext.h"
#include "core/remind/ReminderNotice.h"
#include "core/settings/SettingValues.h"
#include "core/shell/ShortcutSettings.h"
#include "core/system/Clock.h"
#include "gui/calendar/TrayIcon.h"
#include "gui/calendar/frmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

// The icon the launchers show: the file beside the program or in the theme; a name the theme knows otherwise.
QString NotificationIcon(const AppContext &ctx) {
    const QString icon = ThisProgram(ctx.paths(), QCoreApplication::applicationFilePath()).icon;
    return icon.contains(u'/') && !QFileInfo(icon).isFile() ? QStringLiteral("tsukiban") : icon;
}

} // namespace

QString Reminders::logPath(const AppContext &ctx) {
    return QDir(ctx.paths().dataFolder).filePath(ReminderLog::fileName());
}

Reminders::Reminders(AppContext &ctx, QDBusConnection bus, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_log(logPath(ctx)), m_planner(ctx.memos(), ctx.clock(), m_log),
      m_service(std::move(bus), NotificationIcon(ctx)) {
    connect(&m_planner, &ReminderPlanner::todayDue, this, [this](const QDate &date) {
        const ReminderNotice n = TodayNotice(m_ctx.memos(), date, m_ctx.settings.japaneseWeekdays(), m_ctx.locale);
        m_service.show({n.summary, n.body, date, std::nullopt});
    });
    connect(&m_planner, &ReminderPlanner::reminderDue, this, [this](const Reminder &r, bool late) {
        const ReminderNotice n = TimedNotice(r, late, m_ctx.clock().now());
        m_service.show({n.summary, n.body, r.date, r});
    });
    connect(&m_service, &NotificationService::snoozeRequested, this,
            [this](const Reminder &r) { m_planner.snooze(r, 5); });
    connect(&m_service, &NotificationService::openRequested, this, &Reminders::openRequested);
    connect(&m_ctx.settings, &SettingsModel::changed, this, [this] { m_planner.setOptions(optionsFromSettings()); });
}

ReminderOptions Reminders::optionsFromSettings() const {
    const SettingsModel &s = m_ctx.settings;
    return {s.on(&Settings::Remind_Today), s.on(&Settings::Remind_Time), RemindMinutes(s.Remind_Minutes)};
}

void Reminders::start() {
    m_planner.setOptions(optionsFromSettings());
    m_planner.update();
}

void Reminders::attachTo(frmMain &calendar) {
    connect(&calendar, &frmMain::ticked, &m_planner, &ReminderPlanner::clockTick);
    connect(this, &Reminders::openRequested, &calendar, &frmMain::openDay);
    const QPointer<TrayIcon> tray = calendar.tray();
    m_service.setTrayMessage([tray](const QString &summary, const QString &body) {
        return tray && tray->showMessage(summary, body);
    });
    if (tray) connect(tray, &TrayIcon::messageClicked, &m_service, &NotificationService::trayMessageClicked);
}
