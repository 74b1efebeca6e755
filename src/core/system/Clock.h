#pragma once

#include <QDateTime>

// The program's notion of "now"; tests replace it to freeze or move time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

// The computer's clock. The offset from UTC is asked once a minute (at the first call in a new minute), not at every
// call: each ask makes the C library look at /etc/localtime again, four times per tick of the seconds clock. Daylight
// saving time changes on the hour, so it shows at once; a change of the system's zone within the minute.
class SystemClock : public Clock {
public:
    QDateTime now() const override;

private:
    mutable qint64 m_minute = -1;
    mutable int m_offset = 0;
};
