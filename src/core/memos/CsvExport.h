#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class MemoBook;
class Prompts;

// The memos of a month as comma-separated records in code page 932, one per day in date order, each ended by CR LF:
// the day key, a comma, and the memo in double quotes with its line breaks as lone LFs and each quote doubled. Without
// onlyMemoDays a day without memo is written too, its second field empty.
QByteArray MemoCsv(const MemoBook &book, const QDate &month, bool onlyMemoDays);
// "Tsukiban_yyyy_mm.csv".
QString DefaultCsvName(const QDate &month);

// The export command: asks which days, asks for the file (in the program folder by default, in the documents folder
// when the program folder cannot be written), writes it in one step
// and says so. A failed write is said and leaves no part of a file. False when cancelled or failed.
bool ExportMonthMemos(const MemoBook &book, Prompts &prompts, const QString &folder, const QDate &month);
