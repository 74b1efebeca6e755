#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
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

// Leading decimal number of a text, as the settings' numbers ("11.25", "1000", "14400", "1.5E+07") are read; 0 when
// there is none.
double NumberValue(const QString &text);
// Every number of the settings that sizes or places something is read through here: the leading number brought into
// [low, high], fallback when the text holds no number. The stored text stays as it is; a hand-edited 2000-point font or
// a position of 1e30 must not make a window of gigabytes or an undefined conversion.
double SettingNumber(const QString &text, double low, double high, double fallback);
// Remind_Minutes: how long before an appointment its reminder comes, 0 to a day.
int RemindMinutes(const QString &text);
// StartDay: 1 Sunday ... 7 Saturday.
int StartDayValue(const QString &text);
// Font sizes in points, within what a month calendar and its notes can use: 300 points would make a window larger
// than any screen.
inline constexpr int MinFontPoints = 6;
inline constexpr int MaxFontPoints = 72;
double FontPoints(const QString &text);
// Frame_X / Frame_Y, in twips, kept on the screens (a rectangle in twips).
QPoint StoredPosition(const QString &x, const QString &y, const QRect &screens);
// A single-precision number as text: "12", "11.25", "14400".
QString SingleText(double value);
