#include "core/settings/SettingValues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

quint32 ColorValue(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || (t[0] != u'H' && t[0] != u'h')) return 0;
    quint32 value = 0;
    // Up to eight digits, read up to the first character that is no hexadecimal digit.
    for (qsizetype i = 1; i < t.size() && i <= 8; ++i) {
        const int digit = (t[i] >= u'0' && t[i] <= u'9')   ? t[i].unicode() - '0'
                          : (t[i] >= u'A' && t[i] <= u'F') ? t[i].unicode() - 'A' + 10
                          : (t[i] >= u'a' && t[i] <= u'f') ? t[i].unicode() - 'a' + 10
                                                           : -1;
        if (digit < 0) break;
        value = value * 16 + quint32(digit);
    }
    return value;
}

QString ColorText(quint32 bgr) {
    return u'H' + QString::number(bgr, 16).toUpper();
}

QColor ColorFromText(const QString &text) {
    const quint32 v = ColorValue(text);
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

quint32 BgrFromColor(const QColor &color) {
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

bool FontFlag(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok && number != 0;
}

QString FontFlagText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

namespace {

// The leading decimal number of a text, with an optional exponent as a single-precision number prints it ("1.5E+07");
// nullopt when the text starts with none. Too large a number is infinite.
std::optional<double> leadingNumber(const QString &text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    const auto digits = [&] {
        const qsizetype from = end;
        while (end < t.size() && t[end] >= u'0' && t[end] <= u'9') ++end;
        return end - from;
    };
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+')) ++end;
    qsizetype mantissa = digits();
    if (end < t.size() && t[end] == u'.') {
        ++end;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    bool tiny = false;
    if (end < t.size() && (t[end] == u'e' || t[end] == u'E')) {
        const qsizetype mark = end++;
        tiny = end < t.size() && t[end] == u'-';
        if (end < t.size() && (t[end] == u'-' || t[end] == u'+')) ++end;
        if (digits() == 0) end = mark;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    if (ok) return value;
    // toDouble refuses what overflows or underflows a double.
    if (tiny) return 0.0;
    return t.startsWith(u'-') ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

} // namespace

double NumberValue(const QString &text) {
    const std::optional<double> value = leadingNumber(text);
    return value && std::isfinite(*value) ? *value : 0.0;
}

double SettingNumber(const QString &text, double low, double high, double fallback) {
    const std::optional<double> value = leadingNumber(text);
    if (!value || std::isnan(*value)) return fallback;
    return std::clamp(*value, low, high);
}

int StartDayValue(const QString &text) {
    return int(SettingNumber(text, 1, 7, 1));
}

double FontPoints(const QString &text) {
    return SettingNumber(text, MinFontPoints, MaxFontPoints, 9);
}

QPoint StoredPosition(const QString &x, const QString &y, const QRect &screens) {
    return QPoint(int(SettingNumber(x, screens.left(), screens.right(), 0)),
                  int(SettingNumber(y, screens.top(), screens.bottom(), 0)));
}

QString SingleText(double value) {
    // Seven significant digits, as a single-precision number prints.
    QString text = QString::number(double(float(value)), 'g', 7);
    text.replace(QLatin1String("e"), QLatin1String("E"));
    return text;
}

int RemindMinutes(const QString &text) {
    return int(SettingNumber(text, 0, 24 * 60, 10));
}
