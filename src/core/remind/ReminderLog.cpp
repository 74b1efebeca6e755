#include "core/remind/ReminderLog.h"

#include "core/system/AtomicFile.h"
#include "core/system/RegularFile.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

const QString kDay = QStringLiteral("yyyy/MM/dd");

QDate dayOfKey(const QString &key) {
    return QDate::fromString(key.left(10), kDay);
}

} // namespace

ReminderLog::ReminderLog(QString path) : m_path(std::move(path)) {
    load();
}

void ReminderLog::load() {
    // A few lines; anything larger is not ours.
    const RegularFileRead read = ReadRegularFile(m_path, 1 << 20);
    if (!read.ok()) return;
    for (const QString &line : QString::fromUtf8(read.bytes).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("today ")))
            m_today = QDate::fromString(line.mid(6).trimmed(), kDay);
        else if (line.startsWith(QLatin1String("shown ")) && dayOfKey(line.mid(6)).isValid())
            m_keys.insert(line.mid(6).trimmed());
    }
}

void ReminderLog::save() const {
    QByteArray bytes;
    if (m_today.isValid()) bytes += "today " + m_today.toString(kDay).toLatin1() + '\n';
    QStringList keys(m_keys.begin(), m_keys.end());
    std::sort(keys.begin(), keys.end());
    for (const QString &key : keys) bytes += "shown " + key.toUtf8() + '\n';
    // A failed write only risks showing something twice after a restart; the calendar goes on.
    WriteFileAtomically(m_path, bytes);
}

void ReminderLog::setTodayShown(const QDate &day) {
    if (m_today == day) return;
    m_today = day;
    save();
}

void ReminderLog::markShown(const QString &key) {
    if (m_keys.contains(key)) return;
    m_keys.insert(key);
    save();
}

void ReminderLog::forgetBefore(const QDate &day) {
    const qsizetype before = m_keys.size();
    m_keys.removeIf([&](const QString &key) { return dayOfKey(key) < day; });
    if (m_keys.size() != before) save();
}
