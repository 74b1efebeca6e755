#pragma once

#include "core/memos/Appointment.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class MemoBook;

// The fields an appointment gives the memo, in the order of the import grid's columns 1 to 7.
inline constexpr int ImportFieldCount = 7;
using AppointmentCells = std::array<QString, ImportFieldCount>;

// "開催日" … "本文".
const QStringList &ImportFieldNames();
// Field 0 to 6: 開催日 "yyyy/MM/dd", 開始 and 終了 "hh:mm" (24 hours), then the texts as the calendar gave them.
QString CellOf(const Appointment &appointment, int field);
AppointmentCells CellsOf(const Appointment &appointment);

// What the user chose for the memo texts.
struct ImportChoice {
    std::array<bool, ImportFieldCount> fields{true, true, true, true, true, true, false};
    bool withNames = true;
    int nameStyle = 0; // 0 "[name] ", 1 "【name】 ", 2 nameLeft + name + nameRight + " "
    QString nameLeft, nameRight;
    int separator = 3; // 0 ",", 1 ";", 2 ":", 3 a line break, 4 separatorText; any other: none
    QString separatorText;

    bool anyField() const;
};

QString ImportSeparator(const ImportChoice &choice);
// Each chosen field with its name in front when asked, and the separator after each, the last one too.
QString ImportText(const AppointmentCells &cells, const ImportChoice &choice);

struct ImportOutcome {
    bool written = false;
    int replaced = 0; // characters the data file cannot hold, stored as "〓"
};

// Appends the text of every appointment to the memo of its start day, taking them from the last to the first, in
// one write; told after each text is made (done of total).
ImportOutcome ImportAppointments(MemoBook &memos, const std::vector<Appointment> &appointments,
                                 const ImportChoice &choice, const std::function<void(qsizetype)> &progress = {});
