#pragma once

#include <QDate>
#include <QStringList>
#include <QTextStream>

// tsukiban-cal: a terminal month calendar on the program's calendar rules.
//   tsukiban-cal [YYYY-MM]        month grid with holidays marked "*"
//   tsukiban-cal --list FROM TO   one line per day: date, holiday, lunar month, lunar day, rokuyo
// args excludes the program name; today decides the default month.
// Returns the exit status: 0 on success, 2 for any usage error (one line on err).
int RunCalCommand(const QStringList &args, const QDate &today, QTextStream &out, QTextStream &err);
