#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>

#include <functional>

// tsukiban-cal: a terminal month calendar on the program's calendar rules.
//   tsukiban-cal [YYYY-MM]                       month grid with holidays marked "*"
//   tsukiban-cal --list FROM TO [--data FOLDER]  one line per day: date, holiday, lunar month, lunar day, rokuyo and,
//                                                with --data, the memo of the data file in FOLDER
//   tsukiban-cal --ics FROM TO [--data FOLDER]   iCalendar file of the memos and the public holidays
//   tsukiban-cal --help | --version              usage, or the version and the licence
// args excludes the program name; today decides the default month. defaultDataFolder gives the folder whose memos
// --ics reads when --data is not given (asked only then; none or an empty folder name: no memos).
// now stamps the events of --ics. Returns the exit status: 0 on success, 2 for any usage error or an unreadable data
// file (one line on err).
int RunCalCommand(const QStringList &args, const QDate &today, QTextStream &out, QTextStream &err,
                  const std::function<QString()> &defaultDataFolder = {},
                  const QDateTime &now = QDateTime::currentDateTimeUtc());
