#pragma once

#include "core/remind/Reminder.h"
#include "core/remind/ReminderOptions.h"

#include <QDate>
#include <QObject>
#include <QTimer>

#include <utility>
#include <vector>

class Clock;
class MemoBook;
class ReminderLog;

// Turns the memo book into the moments something is due: today's notice once a day, and each appointment of today
// (and of tomorrow's early hours) the chosen minutes before its time. One single-shot timer is aimed at the nearest
// moment; a change of a memo re-plans at once, so an edited line moves its reminder and a cleared one cancels it.
// Times are the computer's local wall-clock times, so a planned reminder follows a change of the clock or the zone.
// What the program missed while it was not running or the computer slept comes once, marked late; nothing of earlier
// days.
class ReminderPlanner : public QObject {
    Q_OBJECT
public:
    ReminderPlanner(const MemoBook &memos, const Clock &clock, ReminderLog &log, QObject *parent = nullptr);

    void setOptions(const ReminderOptions &options);
    const ReminderOptions &options() const { return m_options; }
    // Looks at the clock: says what is due and aims the timer at the next moment.
    void update();
    // For a clock that ticks anyway (the calendar's seconds): a few comparisons, and a re-plan only when the clock
    // jumped past the next moment (wake from sleep), went back, or the date or the zone changed.
    void clockTick();
    // The reminder again in some minutes.
    void snooze(const Reminder &reminder, int minutes = 5);

    // The local time the timer is aimed at (invalid when it is not running), and the reminders still to come.
    QDateTime nextWake() const;
    std::vector<Reminder> pending() const;
    bool timerActive() const { return m_timer.isActive(); }

signals:
    void todayDue(const QDate &date);
    // late: the appointment's time had passed when it came (missed while asleep or not running).
    void reminderDue(const Reminder &reminder, bool late);

private:
    void memoChanged(const QDate &date);
    // Marks the appointments whose time has passed as shown without showing them.
    void passOverPast(const QDate &date);
    std::vector<Reminder> candidates() const;

    const MemoBook &m_memos;
    const Clock &m_clock;
    ReminderLog &m_log;
    ReminderOptions m_options;
    QTimer m_timer;
    QDate m_day;           // the date of the last look
    qint64 m_next = -1;    // wall time of the next moment, ms as if UTC; -1 none
    qint64 m_lastWall = 0; // wall time of the last look
    int m_offset = 0;      // the zone's offset at the last look
    std::vector<std::pair<Reminder, qint64>> m_snoozed;
    bool m_updating = false, m_again = false;
};
