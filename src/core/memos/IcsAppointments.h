#pragma once

#include "core/memos/Appointment.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>
#include <vector>

// Why a file gave no appointments: a number and a reason that names the file, for the message.
struct IcsError {
    int number = 0;
    QString reason;
};

struct IcsAppointments {
    std::vector<Appointment> appointments;
    IcsError error;   // number 0 when the file was read
    bool cut = false; // a repeating event had more occurrences than are followed; the later ones are missing
    bool ok() const { return error.number == 0; }
};

// Told how many of a file's events are done, of how many.
using IcsProgress = std::function<void(qsizetype done, qsizetype total)>;

// The appointments of an iCalendar text that start on a local day from `from` to `to` (both included), in the order
// of the file, every occurrence of a recurring event as one. Cancelled events and occurrences are left out, and so
// are to-dos and journal entries. A text that is not whole, valid iCalendar gives an error and no appointment.
IcsAppointments ReadIcsAppointments(const QByteArray &bytes, const QDate &from, const QDate &to,
                                    const QTimeZone &local = QTimeZone::systemTimeZone(),
                                    const IcsProgress &progress = {}, const QString &fileName = {});
// The same for a file; a file that cannot be read gives an error too.
IcsAppointments ReadIcsFile(const QString &path, const QDate &from, const QDate &to,
                            const QTimeZone &local = QTimeZone::systemTimeZone(), const IcsProgress &progress = {});
// The files in order, all their appointments in one list; the first file that gives an error ends the reading, and
// what the files before it gave is kept. progress is told of each file's events as above, with the file's index.
IcsAppointments ReadIcsFiles(const QStringList &paths, const QDate &from, const QDate &to, const QTimeZone &local,
                             const std::function<void(qsizetype file, qsizetype done, qsizetype total)> &progress = {});
