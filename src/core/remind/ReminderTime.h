#pragma once

#include <QString>
#include <QTime>

#include <optional>

// The time an appointment line starts with: "9:30", "09:30", "15:00-16:00", "15：00", full-width digits, "15時",
// "15時30分", "15時半"; also after the field name the import writes before its 開始 field ("[開始] 10:00"), wherever
// that field stands in the line. Nothing for a line that only looks like a time ("1:1000", "25:00", "12:60").
std::optional<QTime> ReminderTime(const QString &line);
