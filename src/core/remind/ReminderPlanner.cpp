#include "core/remind/ReminderPlanner.h"

#include "core/memos/MemoBook.h"
#include "core/remind/ReminderLog.h"
#include "core/system/Clock.h"

#include <algorithm>
#include <limits>

namespace {

// A local wall-clock reading as a number: milliseconds as if it were UTC. Differences are what the clock on the wall
// shows, so a change of zone or of the clock moves "now" and the plan follows.
qint64 wallMs(const QDate &date, const QTime &time) {
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
}

qint64 wallMs(const QDateTime &t) {
    return wallMs(t.date(), t.time());
}

// The clock went back by more than this: look again (a few seconds are the clock being set right).
const qint64 kBackJump = 60 * 1000;

} // namespace

ReminderPlanner::ReminderPlanner(const MemoBook &memos, const Clock &clock, ReminderLog &log, QObject *parent)
    : QObject(parent), m_memos(memos), m_clock(clock), m_log(log) {
    m_timer.setSingleShot(true);
    // One wake-up at the moment itself: a coarse timer may be off by 5 % of an hour's wait.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReminderPlanner::update);
    connect(&memos, &MemoBook::memoChanged, this, &ReminderPlanner::memoChanged);
}

void ReminderPlanner::setOptions(const ReminderOptions &options) {
    const bool timedOn = options.timed && !m_options.timed;
    m_options = options;
    if (!m_day.isValid()) return; // not started yet
    // Switched on during the day: what is already over is not news.
    if (timedOn) passOverPast(m_clock.today());
    update();
}

std::vector<Reminder> ReminderPlanner::candidates() const {
    std::vector<Reminder> all;
    if (!m_options.timed || !m_day.isValid()) return all;
    // Tomorrow's first minutes are due tonight when the lead reaches back over midnight.
    for (const QDate &day : {m_day, m_day.addDays(1)}) {
        const std::vector<Reminder> found = RemindersOf(day, m_memos.memo(day, QStringLiteral("\n")));
        all.insert(all.end(), found.begin(), found.end());
    }
    return all;
}

void ReminderPlanner::update() {
    // Whoever hears a reminder may change a memo, which plans again: finish this look first.
    if (m_updating) {
        m_again = true;
        return;
    }
    m_updating = true;
    do {
        m_again = false;
        const QDateTime now = m_clock.now();
        const qint64 wall = wallMs(now);
        m_lastWall = wall;
        m_offset = now.offsetFromUtc();
        bool today = false;
        if (now.date() != m_day) {
            m_day = now.date();
            m_log.forgetBefore(m_day);
            // Snoozed ones of an earlier day are over.
            std::erase_if(m_snoozed, [&](const auto &s) { return s.first.date < m_day; });
            if (m_options.today && m_log.todayShown() != m_day) {
                m_log.setTodayShown(m_day);
                today = true;
            }
        }
        const qint64 lead = qint64(m_options.minutes) * 60 * 1000;
        qint64 next = wallMs(m_day.addDays(1), QTime(0, 0)); // the day change
        std::vector<std::pair<Reminder, bool>> due;
        for (const Reminder &r : candidates()) {
            const QString key = r.key();
            if (m_log.shown(key)) continue;
            const qint64 at = wallMs(r.date, r.time);
            if (at - lead <= wall) {
                m_log.markShown(key);
                due.push_back({r, at < wall});
            } else {
                next = std::min(next, at - lead);
            }
        }
        for (auto it = m_snoozed.begin(); it != m_snoozed.end();) {
            if (it->second <= wall) {
                due.push_back({it->first, false});
                it = m_snoozed.erase(it);
            } else {
                next = std::min(next, it->second);
                ++it;
            }
        }
        m_next = next;
        m_timer.start(int(std::clamp<qint64>(next - wall, 0, std::numeric_limits<int>::max())));
        if (today) emit todayDue(m_day);
        std::stable_sort(due.begin(), due.end(),
                         [](const auto &a, const auto &b) { return wallMs(a.first.date, a.first.time) <
                                                                   wallMs(b.first.date, b.first.time); });
        for (const auto &[reminder, late] : due) emit reminderDue(reminder, late);
    } while (m_again);
    m_updating = false;
}

void ReminderPlanner::clockTick() {
    if (!m_day.isValid()) return;
    const QDateTime now = m_clock.now();
    const qint64 wall = wallMs(now);
    if (now.date() != m_day || now.offsetFromUtc() != m_offset || (m_next >= 0 && wall >= m_next) ||
        wall < m_lastWall - kBackJump)
        update();
    else
        m_lastWall = wall;
}

void ReminderPlanner::snooze(const Reminder &reminder, int minutes) {
    m_snoozed.push_back({reminder, wallMs(m_clock.now()) + qint64(minutes) * 60 * 1000});
    update();
}

void ReminderPlanner::passOverPast(const QDate &date) {
    const qint64 wall = wallMs(m_clock.now());
    for (const Reminder &r : RemindersOf(date, m_memos.memo(date, QStringLiteral("\n"))))
        if (wallMs(r.date, r.time) <= wall) m_log.markShown(r.key());
}

void ReminderPlanner::memoChanged(const QDate &date) {
    if (!m_day.isValid() || (date != m_day && date != m_day.addDays(1))) return;
    // A line written after its time is a record of what happened, not something to be reminded of.
    passOverPast(date);
    // A snoozed line that was edited or cleared is gone with it.
    const std::vector<Reminder> now = RemindersOf(date, m_memos.memo(date, QStringLiteral("\n")));
    std::erase_if(m_snoozed, [&](const auto &s) {
        return s.first.date == date && std::find(now.begin(), now.end(), s.first) == now.end();
    });
    update();
}

QDateTime ReminderPlanner::nextWake() const {
    if (!m_timer.isActive() || m_next < 0) return {};
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(m_next, Qt::UTC);
    return QDateTime(utc.date(), utc.time());
}

std::vector<Reminder> ReminderPlanner::pending() const {
    std::vector<Reminder> left;
    for (const Reminder &r : candidates())
        if (!m_log.shown(r.key())) left.push_back(r);
    return left;
}
