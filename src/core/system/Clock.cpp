#include "core/system/Clock.h"

QDateTime SystemClock::now() const {
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (ms / 60000 != m_minute) {
        m_minute = ms / 60000;
        m_offset = QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, m_offset);
}
