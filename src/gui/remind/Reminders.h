#pragma once

#include "core/remind/ReminderLog.h"
#include "core/remind/ReminderPlanner.h"
#include "gui/remind/NotificationService.h"

#include <QDBusConnection>
#include <QObject>

class AppContext;
class frmMain;

// The reminders of a running calendar: the plan over the memo book, the record of what was shown (in the data folder)
// and the delivery, kept in step with the settings of [REMIND].
class Reminders : public QObject {
    Q_OBJECT
public:
    Reminders(AppContext &ctx, QDBusConnection bus, QObject *parent = nullptr);

    // Today's notice and whatever was missed since the last run; from then on the plan runs by itself.
    void start();
    // The calendar's clock: its tick checks for a jump of the clock, 開く opens the day's entry box, the tray shows
    // the message where no notification server answers.
    void attachTo(frmMain &calendar);

    ReminderPlanner &planner() { return m_planner; }
    NotificationService &service() { return m_service; }
    // The record's file in the data folder.
    static QString logPath(const AppContext &ctx);

signals:
    void openRequested(const QDate &date);

private:
    ReminderOptions optionsFromSettings() const;

    AppContext &m_ctx;
    ReminderLog m_log;
    ReminderPlanner m_planner;
    NotificationService m_service;
};
