#include "app/SettingValues.h"

#include <cmath>

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

double NumberValue(const QString &text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+')) ++end;
    while (end < t.size() && t[end] >= u'0' && t[end] <= u'9') ++end;
    if (end < t.size() && t[end] == u'.') {
        ++end;
        while (end < t.size() && t[end] >= u'0' && t[end] <= u'9') ++end;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString SingleText(double value) {
    // Seven significant digits, as a single-precision number prints.
    QString text = QString::number(double(float(value)), 'g', 7);
    text.replace(QLatin1String("e"), QLatin1String("E"));
    return text;
}
