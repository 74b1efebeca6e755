#pragma once

#include "core/system/Clock.h"

// A clock that stands still until the test moves it.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
