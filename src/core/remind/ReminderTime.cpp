#include "core/remind/ReminderTime.h"

namespace {

// A digit, half- or full-width, as its value; -1 for anything else.
int digit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'０' && u <= u'９') return u - u'０';
    return -1;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'　';
}

// Up to two digits at pos as a number; the count read goes to length (0 when there is no digit).
int number(const QString &s, qsizetype pos, int &length) {
    int value = 0;
    length = 0;
    while (pos + length < s.size() && length < 3) {
        const int d = digit(s.at(pos + length));
        if (d < 0) break;
        value = value * 10 + d;
        ++length;
    }
    return value;
}

// The time that starts exactly at pos, followed by no further digit.
std::optional<QTime> timeAt(const QString &s, qsizetype pos) {
    int length = 0;
    const int hour = number(s, pos, length);
    if (length < 1 || length > 2 || hour > 23) return std::nullopt;
    pos += length;
    if (pos >= s.size()) return std::nullopt;
    const QChar mark = s.at(pos++);
    if (mark == u':' || mark == u'：') {
        const int minute = number(s, pos, length);
        if (length != 2 || minute > 59) return std::nullopt;
        return QTime(hour, minute);
    }
    if (mark != u'時') return std::nullopt;
    if (pos < s.size() && s.at(pos) == u'半') return QTime(hour, 30);
    if (pos < s.size() && s.at(pos) == u'間') return std::nullopt; // "3時間": a length of time

    const int minute = number(s, pos, length);
    if (length == 0) return QTime(hour, 0);
    if (length > 2 || minute > 59) return std::nullopt;
    return QTime(hour, minute);
}

qsizetype skipBlanks(const QString &s, qsizetype pos) {
    while (pos < s.size() && isBlank(s.at(pos))) ++pos;
    return pos;
}

// Where the time after the import's 開始 field name begins: "[開始] ", "【開始】 " or the name between the user's own
// marks of up to five characters each, then the one space the import writes.
qsizetype afterStartField(const QString &line) {
    static const QString name = QString::fromUtf8("開始");
    for (qsizetype at = line.indexOf(name); at >= 0; at = line.indexOf(name, at + 1)) {
        const qsizetype end = line.indexOf(u' ', at + name.size());
        if (end < 0 || end - (at + name.size()) > 5) continue;
        if (const qsizetype pos = skipBlanks(line, end); timeAt(line, pos)) return pos;
    }
    return -1;
}

} // namespace

std::optional<QTime> ReminderTime(const QString &line) {
    if (std::optional<QTime> time = timeAt(line, skipBlanks(line, 0))) return time;
    const qsizetype pos = afterStartField(line);
    return pos >= 0 ? timeAt(line, pos) : std::nullopt;
}
