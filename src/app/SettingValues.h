#pragma once

#include <QColor>
#include <QString>

// The value forms of the settings file. Readers are lenient: an empty or malformed text reads as 0 / false, as an
// older file or a hand edit may hold one.

// Colour text "H" + hexadecimal digits of a 0x00BBGGRR value ("H808080", "H000000FF").
quint32 ColorValue(const QString &text);
QString ColorText(quint32 bgr);
QColor ColorFromText(const QString &text);
quint32 BgrFromColor(const QColor &color);

// Font flags "True"/"False"; any letter case, and numeric text (non-zero is true), read too.
bool FontFlag(const QString &text);
QString FontFlagText(bool on);

// Leading decimal number of a text, as the settings' numbers ("11.25", "1000", "14400") are read.
double NumberValue(const QString &text);
// A single-precision number as text: "12", "11.25", "14400".
QString SingleText(double value);

// Switch "1"/"0": on means exactly "1".
inline bool SwitchOn(const QString &text) {
    return text == QLatin1String("1");
}
// Frame_Style and Frame_Conner: anything but "0" is on.
inline bool FrameSwitchOn(const QString &text) {
    return text != QLatin1String("0");
}
