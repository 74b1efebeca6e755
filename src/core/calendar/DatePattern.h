#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// Formats a date and time with the program's date patterns:
//   yyyy, yy          year with four or two digits
//   m, mm (M, MM)     month without or with leading zero
//   mmm, mmmm         abbreviated or full month name of the locale
//   d, dd             day without or with leading zero
//   ddd               abbreviated weekday name of the locale
//   aaa               one-character Japanese weekday (日 to 土)
//   ggg, e            Japanese era name and year of the era
//   h, hh             hour of a 24-hour clock without or with leading zero
//   m, mm             minutes when after an hour field or before a seconds field
//   s, ss             seconds
// The longest token wins at each position; every other character is copied.
QString FormatDatePattern(const QDate &date, const QTime &time, const QString &pattern, const QLocale &locale);
QString FormatDatePattern(const QDate &date, const QString &pattern, const QLocale &locale);
